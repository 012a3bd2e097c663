#pragma once
// Helpers of the orvik-batch tests: a scratch folder, the tables they run
// on, files read whole, and RunBatch called in-process with its output
// captured.
#include "batchmain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace batchtest {

namespace fs = std::filesystem;

// A folder of its own, removed with everything in it.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (fs::temp_directory_path() / "orvik-batch-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& Path() const { return path_; }
    // Names of the entries, sorted.
    std::vector<std::string> Entries(const std::string& sub = "") const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(sub.empty() ? path_ : path_ / sub))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The table the default PAL (4 inputs, 2 AND terms, 3 outputs) can realise:
// O0 = I0 XOR I1, O1 = I2 AND I3, O2 = I0 OR I3; maximum fitness 48.
inline std::string XorTable()
{
    std::string text = "4 3\n";
    for (int r = 0; r < 16; ++r) {
        const int i0 = (r >> 3) & 1, i1 = (r >> 2) & 1, i2 = (r >> 1) & 1, i3 = r & 1;
        text += std::to_string(i0 ^ i1) + " " + std::to_string(i2 & i3) + " " + std::to_string(i0 | i3)
            + " \n";
    }
    return text;
}

// The lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The comma-separated fields of a line (empty fields kept).
inline std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

struct BatchCall {
    int status = -1;
    std::string out;
    std::string err;
};

// RunBatch in-process; standard output and error captured.
inline BatchCall Call(const std::vector<std::string>& arguments)
{
    char* outText = nullptr;
    char* errText = nullptr;
    std::size_t outLength = 0;
    std::size_t errLength = 0;
    std::FILE* out = open_memstream(&outText, &outLength);
    std::FILE* err = open_memstream(&errText, &errLength);
    std::atomic<bool> stop {false};
    const std::atomic<int> signal {0};
    BatchCall call;
    call.status = RunBatch(arguments, stop, signal, BatchStreams {out, err, 0});
    std::fclose(out);
    std::fclose(err);
    call.out.assign(outText, outLength);
    call.err.assign(errText, errLength);
    std::free(outText);
    std::free(errText);
    return call;
}

} // namespace batchtest
