#include "batchjedec.h"

#include "galfit.h"
#include "jedecfile.h"
#include "minimumcover.h"
#include "palterms.h"
#include "safeoutputfile.h"

#include <filesystem>

std::string JedecDeviceProblem(const std::string& device, const PalConfig& pal)
{
    const std::optional<GalType> type = GalTypeOfName(device);
    if (!type)
        return "--jedec " + device + ": no device";
    // A PAL of no terms at all fits wherever its pins do.
    SumOfProducts pins;
    pins.numInputs = pal.NumInputs;
    pins.terms.resize(static_cast<std::size_t>(pal.NumOutputs));
    const GalFit fit = FitGal(*type, pins);
    return fit ? std::string() : "--jedec " + device + ": " + fit.problem;
}

std::string SavedJedecPath(const std::string& directory, uint32_t seed)
{
    return (std::filesystem::path(directory) / ("seed-" + std::to_string(seed) + ".jed")).string();
}

std::string WriteBestJedec(const GA& ga, const PalConfig& pal, const std::string& device, const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const std::optional<GalType> type = GalTypeOfName(device);
    if (!type || ga.GetPopulationSize() == 0)
        return "--jedec " + device + ": no device";
    uint32_t fittest = 0;
    for (uint32_t i = 1; i < ga.GetPopulationSize(); ++i)
        if (ga.At(i).GetFitness() > ga.At(fittest).GetFitness())
            fittest = i;

    SumOfProducts circuit;
    circuit.numInputs = pal.NumInputs;
    circuit.terms = PalTerms(pal, ga.At(fittest));
    GalFit fit = FitGal(*type, circuit);
    if (!fit && fit.tooManyTerms)
        fit = FitGal(*type, MinimumSumOfProducts(circuit, {DefaultCoverNodeBudget, DefaultCoverTimeLimit, nullptr}));
    if (!fit)
        return name + ": " + fit.problem;

    const std::string text = FormatGalJedec(*fit.design);
    const std::string reason = WriteWholeFile(path, text);
    if (!reason.empty())
        return CannotWrite(path, reason);
    return {};
}
