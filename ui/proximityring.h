#pragma once
// The robot seen from above (Image1): a circle with the four proximity
// indicators PBProx0..PBProx3 on its left, top, right and bottom edges and
// the caption "Proximity sensors" inside. An indicator is black while its
// direction is clear and white when an obstacle is near.
#include <QWidget>

#include <array>

class QLabel;

class ProximityRing : public QWidget {
    Q_OBJECT
public:
    static constexpr int Diameter = 103;

    explicit ProximityRing(QWidget* parent = nullptr);

    // Indicator k white when white[k], black otherwise.
    void SetIndicators(const std::array<bool, 4>& white);
    bool IndicatorWhite(int k) const { return white_[static_cast<std::size_t>(k)]; }

    QLabel* Label1;
    std::array<QLabel*, 4> PBProx;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<bool, 4> white_{};
};
