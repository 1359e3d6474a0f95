#include "document/AmountInWords.h"

#include <QRegularExpression>
#include <QStringList>
#include <array>

namespace {

// The vocabulary, for writing and reading alike.
constexpr std::array<const char*, 20> Ones = {
    "zero", "one",    "two",    "three",    "four",     "five",    "six",     "seven",     "eight",    "nine",
    "ten",  "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen",
};
constexpr std::array<const char*, 10> Tens = {
    "", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety",
};
constexpr const char* Hundred = "hundred";

struct Scale {
    const char* word;
    qint64 value;
};
// Largest first: the order groups are written and must be read in.
constexpr std::array<Scale, 2> Scales = {{{"million", 1'000'000}, {"thousand", 1'000}}};

int indexOf(const auto& words, const QString& token)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (token == QLatin1String(words[i]))
            return static_cast<int>(i);
    }
    return -1;
}

// --- writing ---------------------------------------------------------------

// 1 to 999: "two hundred thirty-four".
void writeGroup(int n, QStringList& words)
{
    if (n >= 100)
        words << QLatin1String(Ones[std::size_t(n / 100)]) << QLatin1String(Hundred);
    const int rest = n % 100;
    if (rest >= 20)
        words << QLatin1String(Tens[std::size_t(rest / 10)]) +
                     (rest % 10 ? QLatin1Char('-') + QLatin1String(Ones[std::size_t(rest % 10)]) : QString());
    else if (rest > 0)
        words << QLatin1String(Ones[std::size_t(rest)]);
}

// --- reading ---------------------------------------------------------------

class Reader {
public:
    explicit Reader(QStringList tokens) : m_tokens(std::move(tokens)) {}

    std::optional<qint64> amount()
    {
        const std::optional<qint64> dollars = number();
        if (!dollars)
            return std::nullopt;
        const bool dollarsBeforeCents = take({"dollars", "dollar"});
        qint64 cents = 0;
        if (isCents(peek()) || (peek() == QLatin1String("and") && isCents(peek(1)))) {
            take({"and"});
            cents = centsOf(next());
        }
        if (!dollarsBeforeCents)
            take({"dollars", "dollar"});
        take({"only"});
        if (m_at != m_tokens.size())
            return std::nullopt;
        return *dollars * 100 + cents;
    }

private:
    // "zero", or groups under decreasing scales: "one million twelve thousand
    // five hundred". Without a scale a group may count hundreds past nine:
    // "twelve hundred fifty".
    std::optional<qint64> number()
    {
        if (take({Ones[0]}))
            return 0;
        qint64 total = 0;
        std::size_t nextScale = 0;
        bool any = false;
        while (true) {
            if (any)
                skipAndBeforeNumberWord();
            const std::optional<int> group = this->group();
            if (!group)
                break;
            any = true;
            std::size_t scale = nextScale;
            while (scale < Scales.size() && peek() != QLatin1String(Scales[scale].word))
                ++scale;
            if (scale == Scales.size()) {
                total += *group;
                if (*group > 999 && total != *group)
                    return std::nullopt;
                return total;
            }
            if (*group > 999)
                return std::nullopt;
            next();
            total += *group * Scales[scale].value;
            nextScale = scale + 1;
        }
        return any ? std::optional<qint64>(total) : std::nullopt;
    }

    // Below a thousand, or "twelve hundred fifty": [1-99 "hundred"] [1-99].
    std::optional<int> group()
    {
        std::optional<int> value = belowHundred();
        if (!value)
            return std::nullopt;
        if (peek() != QLatin1String(Hundred))
            return value;
        next();
        int total = *value * 100;
        skipAndBeforeNumberWord();
        if (const std::optional<int> rest = belowHundred())
            total += *rest;
        return total;
    }

    // 1 to 99: "seven", "seventeen", "seventy", "seventy seven".
    std::optional<int> belowHundred()
    {
        const int tens = indexOf(Tens, peek());
        if (tens >= 2) {
            next();
            const int ones = indexOf(Ones, peek());
            if (ones >= 1 && ones <= 9) {
                next();
                return tens * 10 + ones;
            }
            return tens * 10;
        }
        const int ones = indexOf(Ones, peek());
        if (ones >= 1) {
            next();
            return ones;
        }
        return std::nullopt;
    }

    // "one hundred and five", "one thousand and five": an "and" inside the
    // number, not the one before the cents.
    void skipAndBeforeNumberWord()
    {
        if (peek() == QLatin1String("and") && (indexOf(Ones, peek(1)) >= 1 || indexOf(Tens, peek(1)) >= 2))
            next();
    }

    static bool isCents(const QString& token)
    {
        static const QRegularExpression cents(QStringLiteral("^(\\d{1,2}|no|xx)/100$"));
        return cents.match(token).hasMatch();
    }

    static qint64 centsOf(const QString& token)
    {
        const QString numerator = token.section(QLatin1Char('/'), 0, 0);
        return numerator == QLatin1String("no") || numerator == QLatin1String("xx") ? 0 : numerator.toInt();
    }

    bool take(std::initializer_list<const char*> words)
    {
        for (const char* word : words) {
            if (peek() == QLatin1String(word)) {
                next();
                return true;
            }
        }
        return false;
    }

    QString peek(qsizetype ahead = 0) const
    {
        return m_at + ahead < m_tokens.size() ? m_tokens.at(m_at + ahead) : QString();
    }
    QString next() { return m_tokens.at(m_at++); }

    QStringList m_tokens;
    qsizetype m_at = 0;
};

} // namespace

QString AmountInWords::write(qint64 cents)
{
    if (cents < 0 || cents > MaxCents)
        return QString();
    const qint64 dollars = cents / 100;
    QStringList words;
    if (dollars == 0)
        words << QLatin1String(Ones[0]);
    qint64 rest = dollars;
    for (const Scale& scale : Scales) {
        const int group = int(rest / scale.value);
        if (group > 0) {
            writeGroup(group, words);
            words << QLatin1String(scale.word);
        }
        rest %= scale.value;
    }
    if (rest > 0)
        writeGroup(int(rest), words);

    QString text = words.join(QLatin1Char(' '));
    text[0] = text[0].toUpper();
    return text + QStringLiteral(" and %1/100").arg(cents % 100, 2, 10, QLatin1Char('0'));
}

std::optional<qint64> AmountInWords::read(const QString& words)
{
    // Hyphens join number words ("forty-seven"); commas and a closing full
    // stop are punctuation, not words.
    static const QRegularExpression separators(QStringLiteral("[\\s,-]+"));
    QString text = words.trimmed().toLower();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    const QStringList tokens = text.split(separators, Qt::SkipEmptyParts);
    if (tokens.isEmpty())
        return std::nullopt;
    const std::optional<qint64> cents = Reader(tokens).amount();
    if (cents && *cents > MaxCents)
        return std::nullopt;
    return cents;
}
