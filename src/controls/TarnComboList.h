#pragma once

#include <QStringList>

// The history list of the registry-backed combo: adding, capping and its comma-text form.
class TarnComboList
{
public:
    QStringList Items;
    bool PreventDuplicates = false;
    bool MoveSelectedToTop = false;

    qint32 MaxItems() const { return m_maxItems; }
    // A negative cap stores its absolute value; 0 means no cap.
    void SetMaxItems(qint32 maxItems);

    // An empty text is never added; with PreventDuplicates a text already present (without
    // regard to case) is not added. Returns the index the text ends at, -1 when not added.
    int AddItem(const QString &text);
    // Keeps the first MaxItems items.
    void TrimToMaxItems();
    // A pick from the list; with MoveSelectedToTop the item moves to index 0. Returns the
    // index of the picked item afterwards.
    int Pick(int index);

    // Items joined by ","; an item holding a character at or below the blank, a double quote
    // or a comma is written in double quotes with inner quotes doubled; a list of one empty
    // item is two double quotes.
    static QString CommaText(const QStringList &items);
    static QStringList FromCommaText(const QString &text);

private:
    qint32 m_maxItems = 0;
};
