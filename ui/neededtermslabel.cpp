#include "neededtermslabel.h"

NeededTermsLabel::NeededTermsLabel(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("LNeededTerms"));
    setWordWrap(true);
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void NeededTermsLabel::ShowComputing()
{
    ShowNote(tr("Computing how many AND terms the truth table needs..."));
}

void NeededTermsLabel::ShowNote(const QString& note)
{
    sentence_ = note;
    lowerBound_ = 0;
    Render();
}

void NeededTermsLabel::ShowCover(const TableCover& cover)
{
    sentence_ = QString::fromStdString(DescribeTableCover(cover));
    lowerBound_ = cover.LowerBound();
    Render();
}

void NeededTermsLabel::SetAndTerms(int32_t andTerms)
{
    andTerms_ = andTerms;
    Render();
}

QString NeededTermsLabel::Warning() const
{
    if (andTerms_ <= 0 || andTerms_ >= lowerBound_)
        return {};
    const QString has = andTerms_ == 1 ? tr("The PAL has 1 AND term per output")
                                       : tr("The PAL has %1 AND terms per output").arg(andTerms_);
    return has + tr(", fewer than the %1 the truth table needs: evolution cannot reach the maximum fitness.")
                     .arg(lowerBound_);
}

void NeededTermsLabel::Render()
{
    QString html = sentence_.toHtmlEscaped();
    const QString warning = Warning();
    if (!warning.isEmpty())
        html += QStringLiteral("<br><span style=\"color:#b00000\">%1</span>").arg(warning.toHtmlEscaped());
    setText(html);
}
