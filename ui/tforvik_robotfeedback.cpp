// What the Khepera panel and the status bar tell about the robot: the
// proximity readings as numbers beside the indicators, and the state of the
// link.
#include "tforvik.h"

#include "kkhepera.h"
#include "proximityring.h"

#include <QLabel>

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
    // Short enough for the room the status bar has; the device is in the
    // tooltip.
    const QString device = Khepera->DevicePath();
    QString text, detail;
    if (SimulatedRobot) {
        text = "Simulated Khepera";
        detail = QString("Robot mode drives the simulated Khepera inside Orvik (%1); the serial link (%2) "
                         "is not used.")
                     .arg(DescribeSimulation(Simulation), device);
    } else if (!Khepera->IsOpen()) {
        text = "Khepera: closed";
        detail = QString("The link to the Khepera (%1) is not open.").arg(device);
    } else if (Khepera->Lost()) {
        text = "Khepera: no reply";
        detail = QString("The link to the Khepera (%1) is open, but the robot does not answer.").arg(device);
    } else {
        text = "Khepera: open";
        detail = QString("The link to the Khepera (%1) is open.").arg(device);
    }
    LLink->setText(text);
    LLink->setToolTip(detail);
}
