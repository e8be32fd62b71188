#pragma once

#include <QString>

// The four texts the opener of the tell-a-friend dialog supplies about the product.
struct EmailTexts
{
    QString ProductName;
    QString DownloadAddress;
    QString ShortDescription;
    QString LongDescription;

    // False when any of the four is empty.
    bool complete() const;
};

// What the user typed into the dialog.
struct EmailEntries
{
    QString senderName;   // may be empty: the message then names "A friend"
    QString friendsName;
    QString message;      // the personal message; its line breaks become CR LF
    bool html = false;
};

// The message recommending the product, as plain text or as HTML, lines ending in CR LF. The
// HTML form writes the user's texts with "&", "<", ">" and double quotes as character references.
QString ComposeMessage(const EmailTexts &texts, const EmailEntries &entries);

// The subject line: the product name + " is available for you.".
QString MessageSubject(const EmailTexts &texts);

// The window's texts with every "apptitle" (in any case) replaced by the product name.
QString WithProductName(const QString &text, const EmailTexts &texts);
