#pragma once
// What the PAL dialog answers in a test: the given texts, then OK.
#include "fakeuiseam.h"
#include "tfpalsetup.h"

#include <QLineEdit>

#include <functional>

inline std::function<int(QDialog*)> PalAnswer(QString inputs, QString outputs, QString andTerms)
{
    return [=](QDialog* dialog) {
        auto* pal = static_cast<TFPalSetup*>(dialog);
        pal->ENInput->setText(inputs);
        pal->ENOutput->setText(outputs);
        pal->ENAnd->setText(andTerms);
        return FakeUiSeam::PressOk(dialog);
    };
}
