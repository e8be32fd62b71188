#include "controls/TextUtils.h"

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTextUtils : public QObject
{
    Q_OBJECT
private slots:
    void getAttributeValue_data();
    void getAttributeValue();
    void extractTags_data();
    void extractTags();
    void splitText_data();
    void splitText();
    void findText_data();
    void findText();
    void findTextAgreesWithPlainSearch();
    void replaceText_data();
    void replaceText();
    void textBeforeAfterBetween_data();
    void textBeforeAfterBetween();
    void quoteAndUnquote_data();
    void quoteAndUnquote();
    void scrambleRoundTrips();
    void scrambleEncodedForm();
    void scrambleDecodeLeavesJunk_data();
    void scrambleDecodeLeavesJunk();
    void textToInt_data();
    void textToInt();
    void booleans();
    void variantIsInteger();
};

void TestTextUtils::getAttributeValue_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    QTest::newRow("quoted list keeps the blank")
        << u"<param name=\"imagelist\" value=\"a.gif b.gif\">"_s << u"value"_s << u"a.gif b.gif"_s;
    QTest::newRow("unquoted list stops at the blank")
        << u"<param name=imagelist value=a.gif b.gif>"_s << u"value"_s << u"a.gif"_s;
    QTest::newRow("unquoted before another attribute")
        << u"<applet code=\"quilanim\" width=600 height=400>"_s << u"width"_s << u"600"_s;
    QTest::newRow("unquoted ended by >")
        << u"<applet code=\"quilanim\" width=600 height=400>"_s << u"height"_s << u"400"_s;
    QTest::newRow("quoted number") << u"<applet width=\"600\">"_s << u"width"_s << u"600"_s;
    QTest::newRow("name in any case") << u"<APPLET WIDTH=600>"_s << u"width"_s << u"600"_s;
    QTest::newRow("blank before =") << u"<applet width =600>"_s << u"width"_s << QString();
    QTest::newRow("blank after =") << u"<applet width= 600>"_s << u"width"_s << QString();
    QTest::newRow("missing") << u"<applet height=4>"_s << u"width"_s << QString();
    QTest::newRow("empty before >") << u"<p value=>"_s << u"value"_s << QString();
    QTest::newRow("= at the end") << u"<p value="_s << u"value"_s << QString();
    QTest::newRow("unquoted ends at CR LF")
        << u"<param name=a\r\nvalue=b>"_s << u"name"_s << u"a"_s;
    QTest::newRow("quoted keeps CR LF")
        << u"<param name=\"x\" value=\"a\r\nb\">"_s << u"value"_s << u"a\r\nb"_s;
    QTest::newRow("unquoted ends at a tab") << u"<p value=a\tb>"_s << u"value"_s << u"a"_s;
    QTest::newRow("> ends a quoted value") << u"<p value=\"a>b\">"_s << u"value"_s << u"a"_s;
    QTest::newRow("quote ends an unquoted value") << u"<p value=ab\"cd\">"_s << u"value"_s << u"ab"_s;
    QTest::newRow("unclosed quote runs to the end") << u"<p value=\"a b"_s << u"value"_s << u"a b"_s;
    QTest::newRow("blanks around the tag") << u"  \r\n<p value=x>  "_s << u"value"_s << u"x"_s;
    QTest::newRow("first place counts")
        << u"<p filename=x name=y>"_s << u"name"_s << u"x"_s;
    QTest::newRow("non-ASCII value")
        << u"<param name=\"captionlist\" value=\"Café|Ärger\">"_s << u"VALUE"_s << u"Café|Ärger"_s;
}

void TestTextUtils::getAttributeValue()
{
    QFETCH(QString, tag);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QCOMPARE(GetAttributeValue(tag, name), value);
}

void TestTextUtils::extractTags_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QStringList>("withPositions");

    QTest::newRow("two tags") << u"<a><b>"_s << u"<"_s << u">"_s << QStringList{u"<a>"_s, u"<b>"_s}
                              << QStringList{u"<a>,0"_s, u"<b>,3"_s};
    QTest::newRow("text between is ignored, tags span lines")
        << u"x <applet\r\nwidth=3> y <param name=a>z"_s << u"<"_s << u">"_s
        << QStringList{u"<applet\r\nwidth=3>"_s, u"<param name=a>"_s}
        << QStringList{u"<applet\r\nwidth=3>,2"_s, u"<param name=a>,22"_s};
    QTest::newRow("< without > ends the cutting")
        << u"<a> <b <c>"_s << u"<"_s << u">"_s << QStringList{u"<a>"_s, u"<b <c>"_s}
        << QStringList{u"<a>,0"_s, u"<b <c>,4"_s};
    QTest::newRow("last < unclosed") << u"<a> <b"_s << u"<"_s << u">"_s << QStringList{u"<a>"_s}
                                     << QStringList{u"<a>,0"_s};
    QTest::newRow("goes on after >") << u"<<a>>"_s << u"<"_s << u">"_s << QStringList{u"<<a>"_s}
                                     << QStringList{u"<<a>,0"_s};
    QTest::newRow("empty") << QString() << u"<"_s << u">"_s << QStringList() << QStringList();
    QTest::newRow("no tags") << u"plain"_s << u"<"_s << u">"_s << QStringList() << QStringList();
    QTest::newRow("longer markers") << u"[[x]] [[y]]"_s << u"[["_s << u"]]"_s
                                    << QStringList{u"[[x]]"_s, u"[[y]]"_s}
                                    << QStringList{u"[[x]],0"_s, u"[[y]],6"_s};
    QTest::newRow("closing searched after the opening")
        << u"ab b"_s << u"ab"_s << u"b"_s << QStringList{u"ab b"_s} << QStringList{u"ab b,0"_s};
}

void TestTextUtils::extractTags()
{
    QFETCH(QString, text);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    QFETCH(QStringList, tags);
    QFETCH(QStringList, withPositions);
    QCOMPARE(ExtractTags(text, opening, closing), tags);
    QCOMPARE(ExtractTags(text, opening, closing, true), withPositions);
}

void TestTextUtils::splitText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("empty gives nothing") << QString() << u","_s << QStringList();
    QTest::newRow("one piece") << u"a"_s << u","_s << QStringList{u"a"_s};
    QTest::newRow("two pieces") << u"a,b"_s << u","_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty piece between") << u"a,,b"_s << u","_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("empty piece first") << u",a"_s << u","_s << QStringList{QString(), u"a"_s};
    QTest::newRow("trailing separator adds none") << u"a,"_s << u","_s << QStringList{u"a"_s};
    QTest::newRow("two trailing separators") << u"a,,"_s << u","_s << QStringList{u"a"_s, QString()};
    QTest::newRow("separator alone") << u","_s << u","_s << QStringList{QString()};
    QTest::newRow("captions") << u"one|two||four|"_s << u"|"_s
                              << QStringList{u"one"_s, u"two"_s, QString(), u"four"_s};
    QTest::newRow("longer separator") << u"a||b|c"_s << u"||"_s << QStringList{u"a"_s, u"b|c"_s};
    QTest::newRow("blanks are kept") << u" a , b "_s << u","_s << QStringList{u" a "_s, u" b "_s};
}

void TestTextUtils::splitText()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(QStringList, pieces);
    QCOMPARE(SplitText(text, separator), pieces);
}

void TestTextUtils::findText_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("position");

    QTest::newRow("counted from 1") << u"b"_s << u"abc"_s << 1 << 2;
    QTest::newRow("at the start") << u"a"_s << u"abc"_s << 1 << 1;
    QTest::newRow("any case") << u"WIDTH="_s << u"<applet width=5>"_s << 1 << 9;
    QTest::newRow("absent") << u"x"_s << u"abc"_s << 1 << 0;
    QTest::newRow("empty part") << QString() << u"abc"_s << 1 << 0;
    QTest::newRow("longer than text") << u"abcd"_s << u"abc"_s << 1 << 0;
    QTest::newRow("long part found") << u"WorldWideWeb"_s << u"the worldwideweb site"_s << 1 << 5;
    QTest::newRow("long part at the end") << u"123456789"_s << u"x123456789"_s << 1 << 2;
    QTest::newRow("long part absent") << u"worldwidewe8"_s << u"the worldwideweb site"_s << 1 << 0;
    QTest::newRow("long part, accents") << u"CAFÉ CRÈME"_s << u"un café crème"_s << 1 << 4;
    QTest::newRow("from skips an earlier one") << u"ab"_s << u"abxab"_s << 2 << 4;
    QTest::newRow("from at a match") << u"ab"_s << u"abxab"_s << 4 << 4;
    QTest::newRow("from past the end") << u"ab"_s << u"abxab"_s << 6 << 0;
    QTest::newRow("same low byte, different character")
        << u"\u0161\u0161\u0161\u0161\u0161\u0161\u0161\u0161\u0161"_s << u"aaaaaaaaaa"_s << 1 << 0;
}

void TestTextUtils::findText()
{
    QFETCH(QString, part);
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, position);
    QCOMPARE(FindText(part, text, from), position);
}

void TestTextUtils::findTextAgreesWithPlainSearch()
{
    // Few distinct letters give many near matches; "š" (U+0161) and "ā" (U+0101) share their
    // low byte with "a" and U+0001, so the skip table's folding of wide characters is exercised.
    const QString alphabet = u"aAbBcCéÉ\u0101\u0100\u0161\u0160\u0001 "_s;
    QRandomGenerator random(20240611);
    const auto randomText = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(int(alphabet.size())));
        return text;
    };
    const auto mixCase = [&](QString text) {
        for (QChar &c : text)
            if (random.bounded(2))
                c = c.isUpper() ? c.toLower() : c.toUpper();
        return text;
    };

    int found = 0;
    for (int round = 0; round < 4000; ++round) {
        const QString text = randomText(random.bounded(120));
        const int partLength = 1 + random.bounded(40);
        QString part;
        int from = 1 + random.bounded(qMax(1, int(text.size())));
        if (text.size() >= partLength && random.bounded(3) != 0) {
            // A piece of the text in other case, sometimes with one character changed,
            // searched from a place before it.
            const int start = random.bounded(int(text.size()) - partLength + 1);
            part = mixCase(text.mid(start, partLength));
            if (random.bounded(4) == 0)
                part[random.bounded(partLength)] = alphabet.at(random.bounded(int(alphabet.size())));
            from = 1 + random.bounded(start + 1);
        } else {
            part = randomText(partLength);
        }
        const int expected = int(text.indexOf(part, from - 1, Qt::CaseInsensitive)) + 1;
        if (FindText(part, text, from) != expected)
            QFAIL(qPrintable(QStringLiteral("part \"%1\" in \"%2\" from %3: %4, expected %5")
                                 .arg(part, text).arg(from).arg(FindText(part, text, from)).arg(expected)));
        found += expected > 0;
    }
    QVERIFY2(found > 1000, qPrintable(QString::number(found))); // matches, not only misses
}

void TestTextUtils::replaceText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("result");

    QTest::newRow("inserted text not scanned again") << u"banana"_s << u"a"_s << u"aa"_s << true
                                                     << u"baanaanaa"_s;
    QTest::newRow("every a doubled once") << u"aaa"_s << u"a"_s << u"aa"_s << true << u"aaaaaa"_s;
    QTest::newRow("left to right") << u"aaa"_s << u"aa"_s << u"a"_s << true << u"aa"_s;
    QTest::newRow("no new match across the seam") << u"abab"_s << u"ab"_s << u"ba"_s << true << u"baba"_s;
    QTest::newRow("any case") << u"About apptitle: APPTITLE"_s << u"apptitle"_s << u"Java Reelcraft"_s
                              << false << u"About Java Reelcraft: Java Reelcraft"_s;
    QTest::newRow("exact case") << u"Apptitle apptitle"_s << u"apptitle"_s << u"X"_s << true
                                << u"Apptitle X"_s;
    QTest::newRow("any case, inserted text holds the old") << u"aA"_s << u"a"_s << u"Aa"_s << false
                                                           << u"AaAa"_s;
    QTest::newRow("empty old text") << u"abc"_s << QString() << u"x"_s << true << u"abc"_s;
    QTest::newRow("removal") << u"a\r\nb\r\n"_s << u"\r\n"_s << QString() << true << u"ab"_s;
    QTest::newRow("long old text") << u"1 Pictures and pictures"_s << u"PICTURES AND"_s << u"x"_s
                                   << false << u"1 x pictures"_s;
}

void TestTextUtils::replaceText()
{
    QFETCH(QString, text);
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, result);
    QCOMPARE(ReplaceText(text, oldText, newText, caseSensitive), result);
}

void TestTextUtils::textBeforeAfterBetween_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second"); // end text for "between", "whole"/"" for the others
    QTest::addColumn<QString>("result");

    QTest::newRow("before") << u"before"_s << u"<applet width=3>"_s << u" "_s << QString() << u"<applet"_s;
    QTest::newRow("before, missing, whole") << u"before"_s << u"abc"_s << u" "_s << u"whole"_s << u"abc"_s;
    QTest::newRow("before, missing") << u"before"_s << u"abc"_s << u" "_s << QString() << QString();
    QTest::newRow("before, first, whole") << u"before"_s << u" abc"_s << u" "_s << u"whole"_s << u" abc"_s;
    QTest::newRow("before, first") << u"before"_s << u" abc"_s << u" "_s << QString() << QString();
    QTest::newRow("after") << u"after"_s << u"&1 /home/a b.rcf"_s << u" "_s << u"whole"_s
                           << u"/home/a b.rcf"_s;
    QTest::newRow("after, missing, whole") << u"after"_s << u"abc"_s << u" "_s << u"whole"_s << u"abc"_s;
    QTest::newRow("after, missing") << u"after"_s << u"abc"_s << u" "_s << QString() << QString();
    QTest::newRow("after, at the end") << u"after"_s << u"abc "_s << u" "_s << u"whole"_s << QString();
    QTest::newRow("after, first") << u"after"_s << u",a,b"_s << u","_s << QString() << u"a,b"_s;
    QTest::newRow("between") << u"between"_s << u"Reelcraft - [C:\\a.rcf]"_s << u"["_s << u"]"_s
                             << u"C:\\a.rcf"_s;
    QTest::newRow("between, no start") << u"between"_s << u"Reelcraft"_s << u"["_s << u"]"_s << QString();
    QTest::newRow("between, no end") << u"between"_s << u"Reelcraft - [x"_s << u"["_s << u"]"_s << QString();
    QTest::newRow("between, nothing") << u"between"_s << u"Reelcraft - []"_s << u"["_s << u"]"_s
                                      << QString();
    QTest::newRow("between, end after start") << u"between"_s << u"a]b[c]d]"_s << u"["_s << u"]"_s
                                              << u"c"_s;
}

void TestTextUtils::textBeforeAfterBetween()
{
    QFETCH(QString, operation);
    QFETCH(QString, text);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, result);
    const bool whole = second == QLatin1String("whole");
    if (operation == QLatin1String("before"))
        QCOMPARE(TextBefore(text, first, whole), result);
    else if (operation == QLatin1String("after"))
        QCOMPARE(TextAfter(text, first, whole), result);
    else
        QCOMPARE(TextBetween(text, first, second), result);
}

void TestTextUtils::quoteAndUnquote_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    QTest::addColumn<QString>("unquoted");

    QTest::newRow("plain") << u"a b"_s << u"\"a b\""_s << u"a b"_s;
    QTest::newRow("empty") << QString() << u"\"\""_s << QString();
    QTest::newRow("quoted already") << u"\"a\""_s << u"\"a\""_s << u"a"_s;
    QTest::newRow("quote at the start") << u"\"a"_s << u"\"a\""_s << u"a"_s;
    QTest::newRow("quote at the end") << u"a\""_s << u"\"a\""_s << u"a"_s;
    QTest::newRow("lone quote") << u"\""_s << u"\"\""_s << QString();
    QTest::newRow("blanks outside quotes") << u" \t\"a b\"\r\n"_s << u"\" \t\"a b\"\r\n\""_s << u"a b"_s;
    QTest::newRow("only one pair goes") << u"\"\"a\"\""_s << u"\"\"a\"\""_s << u"\"a\""_s;
    QTest::newRow("blanks inside quotes stay") << u"\" a \""_s << u"\" a \""_s << u" a "_s;
    QTest::newRow("no-break space is no blank") << u"\u00A0x"_s << u"\"\u00A0x\""_s << u"\u00A0x"_s;
}

void TestTextUtils::quoteAndUnquote()
{
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QFETCH(QString, unquoted);
    QCOMPARE(QuoteText(text), quoted);
    QCOMPARE(Unquote(text), unquoted);
}

void TestTextUtils::scrambleRoundTrips()
{
    const QString pool = u"aZ09 ,|\"<>&éÄß€中文\U0001F600\t\r\n"_s;
    QRandomGenerator random(7);
    for (int length = 0; length <= 40; ++length) {
        for (int round = 0; round < 20; ++round) {
            QString text;
            while (text.size() < length) {
                const qsizetype at = random.bounded(int(pool.size()));
                // Keep surrogate pairs whole.
                if (pool.at(at).isHighSurrogate() && text.size() + 2 <= length)
                    text += pool.mid(at, 2);
                else if (!pool.at(at).isSurrogate())
                    text += pool.at(at);
            }
            const QString masked = ScrambleText(text, u"ENC"_s);
            QCOMPARE(ScrambleText(masked, u"DEC"_s), text);
            if (length > 0)
                QVERIFY(masked.contains(QLatin1Char(',')));
        }
    }
}

void TestTextUtils::scrambleEncodedForm()
{
    QCOMPARE(ScrambleText(QString(), u"ENC"_s), QString());
    const QString one = ScrambleText(u"a"_s, u"ENC"_s);
    QVERIFY(one.endsWith(QLatin1Char(',')));
    QCOMPARE(one.count(QLatin1Char(',')), 1);
    QCOMPARE(ScrambleText(one, u"DEC"_s), u"a"_s);
    QVERIFY(!ScrambleText(u"ab"_s, u"ENC"_s).endsWith(QLatin1Char(',')));

    // Only decimal byte values and commas, and nothing of the text itself.
    const QString masked = ScrambleText(u"secret password"_s, u"ENC"_s);
    for (QChar c : masked)
        QVERIFY(c.isDigit() || c == u',');
    const QStringList numbers = masked.split(QLatin1Char(','));
    QCOMPARE(numbers.size(), 15);
    for (const QString &number : numbers)
        QVERIFY(number.toInt() >= 0 && number.toInt() <= 255);

    // The key repeats every 19 characters.
    const QStringList same = ScrambleText(QString(40, QLatin1Char('a')), u"ENC"_s).split(QLatin1Char(','));
    QCOMPARE(same.size(), 40);
    QCOMPARE(same.at(19), same.at(0));
    QCOMPARE(same.at(38), same.at(0));
    QCOMPARE(same.at(20), same.at(1));
    const QStringList firstRound = same.mid(0, 19);
    QVERIFY(QSet<QString>(firstRound.begin(), firstRound.end()).size() > 10); // 19 printable key characters, mostly different

    QCOMPARE(ScrambleText(u"abc"_s, u"enc"_s), ScrambleText(u"abc"_s, u"ENC"_s));
    QCOMPARE(ScrambleText(u"abc"_s, u"XYZ"_s), u"abc"_s);
}

void TestTextUtils::scrambleDecodeLeavesJunk_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("no comma") << u"hello"_s;
    QTest::newRow("mixed junk") << u"a,b,,999,-1"_s;
    QTest::newRow("above a byte") << u"1,2,300"_s;
    QTest::newRow("negative") << u"-1,2"_s;
    QTest::newRow("blank") << u"12, 13"_s;
    QTest::newRow("comma alone") << u","_s;
    QTest::newRow("commas") << u",,"_s;
    QTest::newRow("huge") << u"99999999999999999999,1"_s;
    QTest::newRow("text with comma") << u"Hello, world"_s;
}

void TestTextUtils::scrambleDecodeLeavesJunk()
{
    QFETCH(QString, text);
    QCOMPARE(ScrambleText(text, u"DEC"_s), text);
}

void TestTextUtils::textToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << u"12"_s << 12;
    QTest::newRow("blanks and sign") << u" -7 "_s << -7;
    QTest::newRow("plus") << u"+3"_s << 3;
    QTest::newRow("zero") << u"0"_s << 0;
    QTest::newRow("largest") << u"2147483647"_s << 2147483647;
    QTest::newRow("smallest") << u"-2147483648"_s << int(-2147483647 - 1);
    QTest::newRow("too large") << u"2147483648"_s << -999;
    QTest::newRow("too small") << u"-2147483649"_s << -999;
    QTest::newRow("far too large") << u"99999999999999999999"_s << -999;
    QTest::newRow("empty") << QString() << -999;
    QTest::newRow("sign only") << u"-"_s << -999;
    QTest::newRow("words") << u"abc"_s << -999;
    QTest::newRow("fraction") << u"1.5"_s << -999;
    QTest::newRow("hex") << u"0x10"_s << -999;
    QTest::newRow("inner blank") << u"1 2"_s << -999;
}

void TestTextUtils::textToInt()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(TextToInt(text, -999), value);
}

void TestTextUtils::booleans()
{
    QCOMPARE(BoolToText(true), u"true"_s);
    QCOMPARE(BoolToText(false), u"false"_s);
    for (const QString &yes : {u"yes"_s, u"YES"_s, u"True"_s, u"true"_s, u"1"_s})
        QVERIFY2(TextToBool(yes), qPrintable(yes));
    for (const QString &no : {u"no"_s, u"false"_s, u"0"_s, QString(), u"2"_s, u" true"_s, u"y"_s})
        QVERIFY2(!TextToBool(no), qPrintable(no));
    QVERIFY(TextToBool(BoolToText(true)));
    QVERIFY(!TextToBool(BoolToText(false)));
}

void TestTextUtils::variantIsInteger()
{
    QVERIFY(VariantIsInteger(QVariant(5)));
    QVERIFY(VariantIsInteger(QVariant(qlonglong(5))));
    QVERIFY(VariantIsInteger(QVariant(5u)));
    QVERIFY(!VariantIsInteger(QVariant(u"5"_s)));
    QVERIFY(!VariantIsInteger(QVariant(true)));
    QVERIFY(!VariantIsInteger(QVariant(5.0)));
    QVERIFY(!VariantIsInteger(QVariant()));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestTextUtils test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_textutils.moc"
