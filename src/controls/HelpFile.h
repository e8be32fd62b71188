#pragma once

#include <QList>
#include <QMap>
#include <QString>

class Prompts;

// The program's help file: one HTML page holding numbered sections. A section
//   <section class="topic" id="topic-N"> ... </section>
// is the full topic N, shown in the help window; a section
//   <section class="popup" id="popup-N"> ... </section>
// is the pop-up N, shown beside a control on a right-button "What's This ?". Full topics
// and pop-ups number separately, since the program asks for both kinds with the same
// numbers about different controls. Sections may link to each other ("#topic-N").
class HelpFile
{
public:
    enum class Kind { Topic, Popup };

    struct Section
    {
        QString title; // the text of the section's first heading
        QString html;  // everything between the section's tags
    };

    HelpFile() = default;
    // Reads the sections out of the page; text outside sections (the page's own contents
    // list) is kept only in the page itself.
    static HelpFile parse(const QString &page);
    // The help file embedded in the program.
    static HelpFile embedded();
    static QString embeddedPage();

    bool contains(Kind kind, int number) const;
    // The section, or an empty one when the file has none of that number.
    Section section(Kind kind, int number) const;
    QList<int> numbers(Kind kind) const;

    // The section's text without markup, blanks collapsed.
    static QString plainText(const QString &html);
    static int wordCount(const QString &html);

private:
    QMap<int, Section> m_topics;
    QMap<int, Section> m_popups;
};

// The resource that holds the help page.
inline constexpr char EmbeddedHelpResource[] = ":/help/reelcraft.html";

// The application's help file: ProgramFolder() + "/help/reelcraft.html".
QString HelpFilePath();

// Writes the embedded help page to HelpFilePath() when that file is missing or differs
// from the embedded one (so a newer program never shows the help of an older one).
// Returns the path; a failure to write is shown through prompts and the path is still
// returned, since the help window falls back on the embedded page.
QString InstallHelpFile(Prompts &prompts);
