#include "controls/TarnComboList.h"

#include <cstdlib>
#include <limits>

void TarnComboList::SetMaxItems(qint32 maxItems)
{
    // The absolute value of the most negative number does not exist; it caps at the largest.
    m_maxItems = maxItems == std::numeric_limits<qint32>::min() ? std::numeric_limits<qint32>::max()
                                                                : std::abs(maxItems);
}

int TarnComboList::AddItem(const QString &text)
{
    if (text.isEmpty())
        return -1;
    if (PreventDuplicates && Items.contains(text, Qt::CaseInsensitive))
        return -1;
    Items.append(text);
    if (!MoveSelectedToTop)
        return int(Items.size()) - 1;
    Items.move(Items.size() - 1, 0);
    return 0;
}

void TarnComboList::TrimToMaxItems()
{
    if (m_maxItems > 0 && Items.size() > m_maxItems)
        Items.erase(Items.begin() + m_maxItems, Items.end());
}

int TarnComboList::Pick(int index)
{
    if (index < 0 || index >= Items.size())
        return -1;
    if (!MoveSelectedToTop)
        return index;
    Items.move(index, 0);
    return 0;
}

namespace {

bool needsQuotes(const QString &item)
{
    for (QChar c : item)
        if (c.unicode() <= u' ' || c == QLatin1Char('"') || c == QLatin1Char(','))
            return true;
    return false;
}

} // namespace

QString TarnComboList::CommaText(const QStringList &items)
{
    if (items.size() == 1 && items.constFirst().isEmpty())
        return QStringLiteral("\"\"");
    QStringList parts;
    parts.reserve(items.size());
    for (const QString &item : items) {
        if (needsQuotes(item)) {
            QString quoted = item;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            parts.append(QLatin1Char('"') + quoted + QLatin1Char('"'));
        } else {
            parts.append(item);
        }
    }
    return parts.join(QLatin1Char(','));
}

QStringList TarnComboList::FromCommaText(const QString &text)
{
    // Reads what CommaText writes: quoted items with doubled inner quotes, plain items up
    // to the next comma, blanks before an item skipped.
    QStringList items;
    const int n = int(text.size());
    int i = 0;
    const auto skipBlanks = [&] {
        while (i < n && text.at(i).unicode() <= u' ')
            ++i;
    };
    skipBlanks();
    if (i >= n)
        return items;
    while (true) {
        QString item;
        if (i < n && text.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text.at(i++);
            }
            // Anything between the closing quote and the next comma is ignored.
            while (i < n && text.at(i) != QLatin1Char(','))
                ++i;
        } else {
            // A plain item runs to the next comma; blanks inside are kept (a hand-edited
            // value loses nothing), blanks at its end are not part of it.
            while (i < n && text.at(i) != QLatin1Char(','))
                item += text.at(i++);
            while (!item.isEmpty() && item.back().unicode() <= u' ')
                item.chop(1);
        }
        items.append(item);
        if (i >= n)
            break;
        ++i; // the comma
        skipBlanks();
        if (i >= n) {
            items.append(QString());
            break;
        }
    }
    return items;
}
