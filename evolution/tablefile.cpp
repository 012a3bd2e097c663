#include "tablefile.h"

#include "brieftext.h"
#include "inputfilecheck.h"

#include <QFile>

#include <cctype>
#include <charconv>
#include <string_view>

namespace {

// Splits the text into white-space separated tokens on demand.
class TokenReader {
public:
    explicit TokenReader(const QByteArray& text) : text_(text) {}

    // The next token, or an empty view at the end of the text.
    std::string_view Next()
    {
        const char* data = text_.constData();
        const qsizetype size = text_.size();
        while (pos_ < size && IsSpace(data[pos_]))
            ++pos_;
        const qsizetype start = pos_;
        while (pos_ < size && !IsSpace(data[pos_]))
            ++pos_;
        return {data + start, static_cast<size_t>(pos_ - start)};
    }

private:
    static bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

    const QByteArray& text_;
    qsizetype pos_ = 0;
};

// A whole token of an optional sign and digits that fits 32 bits.
bool ParseToken(std::string_view token, int32_t& value)
{
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1); // from_chars takes '-' but not '+'
        if (!token.empty() && token.front() == '-')
            return false;
    }
    if (token.empty())
        return false;
    int32_t parsed = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), parsed);
    if (error != std::errc() || end != token.data() + token.size())
        return false;
    value = parsed;
    return true;
}

QString TokenForUser(std::string_view token)
{
    return QString::fromStdString(BriefText(token));
}

} // namespace

QByteArray FormatTableFile(int32_t keyBits, int32_t valueColumns, const std::vector<int32_t>& values)
{
    QByteArray text;
    text += QByteArray::number(keyBits) + ' ' + QByteArray::number(valueColumns) + '\n';
    const size_t columns = valueColumns > 0 ? static_cast<size_t>(valueColumns) : 1;
    for (size_t index = 0; index < values.size(); ++index) {
        text += QByteArray::number(values[index]) + ' ';
        if ((index + 1) % columns == 0)
            text += '\n';
    }
    return text;
}

TableFileContent ParseTableFile(const QByteArray& text, int32_t expectedKeyBits,
                                int32_t expectedValueColumns)
{
    TableFileContent content;
    TokenReader reader(text);
    if (!ParseToken(reader.Next(), content.keyBits) || !ParseToken(reader.Next(), content.valueColumns)) {
        content.problem = QStringLiteral("the file does not begin with the number of inputs and outputs");
        return content;
    }
    if (content.keyBits != expectedKeyBits || content.valueColumns != expectedValueColumns) {
        content.status = TableFileContent::Status::HeaderMismatch;
        return content;
    }
    const int64_t count = (int64_t{1} << expectedKeyBits) * expectedValueColumns;
    content.values.reserve(static_cast<size_t>(count));
    for (int64_t index = 0; index < count; ++index) {
        const std::string_view token = reader.Next();
        if (token.empty()) {
            content.problem = QStringLiteral("the file ends after %1 of its %2 values").arg(index).arg(count);
            content.values.clear();
            return content;
        }
        int32_t value = 0;
        if (!ParseToken(token, value)) {
            content.problem = QStringLiteral("value %1 of %2, \"%3\", is not a whole number")
                                  .arg(index + 1)
                                  .arg(count)
                                  .arg(TokenForUser(token));
            content.values.clear();
            return content;
        }
        content.values.push_back(value);
    }
    content.status = TableFileContent::Status::Ok;
    return content;
}

QString HeaderMismatchMessage(int32_t fileKeyBits, int32_t fileValueColumns)
{
    return QStringLiteral("Error: file doesn't contain the same number of input and outputs as the "
                          "truth table. File has %1 inputs and %2 outputs.")
        .arg(fileKeyBits)
        .arg(fileValueColumns);
}

QString TruthValueText(int32_t value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (value == 1)
        return QStringLiteral("1");
    return QStringLiteral("X");
}

bool WriteTextFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const bool written = file.write(text) == text.size();
    return file.flush() && written;
}

std::optional<QByteArray> ReadTextFile(const QString& path, uint64_t maxBytes, QString* reason)
{
    const std::string refusal = CheckInputFile(QFile::encodeName(path).toStdString(), maxBytes);
    QFile file(path);
    if (refusal.empty() && file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // A file grown since the check is read no further than the bound.
        const bool bounded = maxBytes < uint64_t{1} << 62;
        QByteArray text = bounded ? file.read(static_cast<qint64>(maxBytes) + 1) : file.readAll();
        if (static_cast<uint64_t>(text.size()) <= maxBytes && file.error() == QFileDevice::NoError)
            return text;
    }
    if (reason)
        *reason = !refusal.empty() ? QString::fromStdString(refusal)
                : file.error() == QFileDevice::NoError ? QStringLiteral("larger than %1 bytes").arg(maxBytes)
                                                       : file.errorString();
    return std::nullopt;
}
