// The Help menu: "About Orvik" and "README".
#include "tforvik.h"

#include "orvikhelp.h"
#include "uiseam.h"

#include <QCoreApplication>
#include <QUrl>

void TFOrvik::About1Click() { Ui().Message(this, "About Orvik", AboutOrvikText()); }

void TFOrvik::Readme1Click()
{
    const QString readme = OrvikReadmePath(QCoreApplication::applicationDirPath());
    if (readme.isEmpty()) {
        ShowError("The README was not found beside the program.");
        return;
    }
    if (!Ui().OpenUrl(QUrl::fromLocalFile(readme)))
        ShowError(QString("No program was found to show %1").arg(readme));
}
