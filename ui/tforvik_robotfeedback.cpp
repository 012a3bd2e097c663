// What the Khepera panel and the status bar tell about the robot: the
// proximity readings as numbers beside the indicators, and the state of the
// link.
#include "tforvik.h"

#include "elidedlabel.h"
#include "kkhepera.h"
#include "proximityring.h"

#include <QLabel>
#include <QStatusBar>

void TFOrvik::ShowProximityValues(const std::array<uint32_t, 4>& directions)
{
    // Two short lines fit under the ring: left and front, then right and back.
    LProximity->setText(QString("L %1  F %2\nR %3  B %4")
                            .arg(directions[0])
                            .arg(directions[1])
                            .arg(directions[2])
                            .arg(directions[3]));
    const QString legend = QString("White: an obstacle in that direction (a reading of %1 or more); black: clear.\n"
                                   "The numbers are the readings to the left, front, right and back "
                                   "(0 to 1023, higher is nearer).")
                               .arg(ProximityThreshold);
    Image1->setToolTip(legend);
    LProximity->setToolTip(legend);
}

void TFOrvik::ShowLinkState()
{
    if (!LLink) {
        // Cut rather than widen the window when the device path is long.
        LLink = new ElidedLabel(this);
        LLink->setObjectName("LLink");
        statusBar()->addPermanentWidget(LLink);
    }
    const QString device = Khepera->DevicePath();
    QString text;
    if (!Khepera->IsOpen())
        text = QString("Khepera: %1 not open").arg(device);
    else if (Khepera->Lost())
        text = QString("Khepera: %1 open, not answering").arg(device);
    else
        text = QString("Khepera: %1 open").arg(device);
    LLink->setText(text);
    LLink->setToolTip(text);
}
