#include "controls/PathUtils.h"

#include "controls/TextUtils.h"

namespace {

const QLatin1Char kSlash('/');
const QLatin1Char kBackslash('\\');

inline bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

inline bool isSeparator(QChar c)
{
    return c == kSlash || c == kBackslash;
}

// "X:" at the start with X a letter.
bool startsWithDrive(const QString &path, QChar colon = QLatin1Char(':'))
{
    return path.size() >= 2 && isAsciiLetter(path.at(0)) && path.at(1) == colon;
}

QString replaced(QString text, QChar from, QChar to)
{
    return text.replace(from, to);
}

// Index just past the last separator of path; 0 when it has none.
qsizetype fileNameStart(const QString &path)
{
    const bool windows = IsWindowsFormPath(path);
    for (qsizetype i = path.size(); i > 0; --i) {
        const QChar c = path.at(i - 1);
        if (c == kSlash || (windows && (c == kBackslash || c == u':')))
            return i;
    }
    return 0;
}

// Steps 5 and 6 of a relative reference: drop the leading folders both share (everything
// up to and including the last separator of their common start), then go up once for each
// separator left in the page's part.
QString relativeRemainder(const QString &page, const QString &file, QChar separator,
                          Qt::CaseSensitivity cs)
{
    qsizetype cut = 0;
    const qsizetype shorter = qMin(page.size(), file.size());
    for (qsizetype i = 0; i < shorter; ++i) {
        const QChar a = page.at(i);
        const QChar b = file.at(i);
        const bool same = cs == Qt::CaseSensitive
            ? a == b
            : QChar::toCaseFolded(a.unicode()) == QChar::toCaseFolded(b.unicode());
        if (!same)
            break;
        if (a == separator)
            cut = i + 1;
    }
    const qsizetype levels = QStringView(page).mid(cut).count(separator);
    QString result;
    for (qsizetype i = 0; i < levels; ++i)
        result += QLatin1String("..") + separator;
    return result + file.mid(cut);
}

// One folder up from a Windows folder text. A bare drive stays as its root "X:\", and a
// folder with nothing above it stays as it is.
QString windowsParent(const QString &folder)
{
    QString trimmed = folder;
    if (trimmed.endsWith(kBackslash))
        trimmed.chop(1);
    const qsizetype at = trimmed.lastIndexOf(kBackslash);
    if (at < 0)
        return folder;
    QString up = trimmed.left(at);
    if (up.size() == 2 && startsWithDrive(up))
        return up + kBackslash;
    if (up.count(kBackslash) == up.size()) // empty, or the "\\" of a network path
        return folder;
    return up;
}

// One folder up from a POSIX folder text that ends with "/" (or is empty). The root stays;
// a relative folder runs out at "".
QString posixParent(const QString &folder)
{
    if (folder.isEmpty() || folder == QLatin1String("/"))
        return folder;
    const QString trimmed = folder.left(folder.size() - 1);
    const qsizetype at = trimmed.lastIndexOf(kSlash);
    return at < 0 ? QString() : trimmed.left(at + 1);
}

QString resolveWindows(const QString &page, const QString &reference)
{
    const QString ref = Unquote(replaced(reference, kSlash, kBackslash));
    if (ref.size() >= 2 && ref.at(1) == u':')
        return ref;

    QString folder = ExtractFileFolder(replaced(page, kSlash, kBackslash));
    if (folder.size() == 2 && startsWithDrive(folder))
        folder += kBackslash; // "C:page.htm" lies in the drive's root as far as we can tell
    QString refFolder = ExtractFileFolder(ref);
    const QString name = ref.mid(refFolder.size());
    while (refFolder.startsWith(QLatin1String("..\\"))) {
        refFolder.remove(0, 3);
        folder = windowsParent(folder);
    }
    return JoinPath(JoinPath(folder, refFolder), name);
}

QString resolvePosix(const QString &page, const QString &reference)
{
    QString ref = Unquote(replaced(reference, kBackslash, kSlash));
    if (ref.startsWith(kSlash))
        return ref;
    if (startsWithDrive(ref))
        return replaced(ref, kSlash, kBackslash); // a Windows path keeps its own form

    QString folder = page.left(page.lastIndexOf(kSlash) + 1);
    while (ref.startsWith(QLatin1String("../"))) {
        ref.remove(0, 3);
        folder = posixParent(folder);
    }
    return folder + ref;
}

} // namespace

bool IsWindowsFormPath(const QString &path)
{
    return startsWithDrive(path) || path.contains(kBackslash);
}

QString JoinPath(const QString &a, const QString &b)
{
    if (a.isEmpty())
        return b;
    const QChar separator = a.contains(kBackslash) ? kBackslash : kSlash;
    QStringView head(a);
    QStringView tail(b);
    if (isSeparator(head.back()))
        head.chop(1);
    if (!tail.isEmpty() && isSeparator(tail.front()))
        tail = tail.mid(1);
    return head.toString() + separator + tail.toString();
}

QString MakeRelativePath(const QString &page, const QString &file)
{
    if (page.isEmpty())
        return file;
    if (file.isEmpty())
        return QString();

    QString pagePath = page;
    if (isSeparator(pagePath.back()))
        pagePath = JoinPath(pagePath, QStringLiteral("dummy.dum"));

    if (!IsWindowsFormPath(pagePath) && !IsWindowsFormPath(file)) {
        if (!pagePath.startsWith(kSlash) || !file.startsWith(kSlash))
            return file;
        return relativeRemainder(pagePath, file, kSlash, Qt::CaseSensitive);
    }

    const bool backslashes = !pagePath.contains(kSlash);
    const QChar separator = backslashes ? kBackslash : kSlash;
    const QChar other = backslashes ? kSlash : kBackslash;
    const QString pageText = replaced(pagePath, other, separator);
    const QString fileText = replaced(file, other, separator);
    // The same drive: the first two characters agree without regard to case.
    if (pageText.size() < 2 || fileText.size() < 2
        || QStringView(pageText).left(2).compare(QStringView(fileText).left(2), Qt::CaseInsensitive) != 0)
        return file;
    return relativeRemainder(pageText, fileText, separator, Qt::CaseInsensitive);
}

QString ResolveRelativePath(const QString &page, const QString &reference)
{
    return IsWindowsFormPath(page) ? resolveWindows(page, reference) : resolvePosix(page, reference);
}

QString PathToFileURL(const QString &path)
{
    if (path.startsWith(kSlash))
        return QStringLiteral("file://") + path;
    if (startsWithDrive(path) && !path.contains(QLatin1String("//")))
        return QStringLiteral("file:///") + path.at(0) + QLatin1Char('|')
            + replaced(path.mid(2), kBackslash, kSlash);
    return path;
}

QString FileURLToPath(const QString &url)
{
    const QString text = Unquote(url);
    const auto windowsPath = [](const QString &path) {
        return replaced(replaced(path, kSlash, kBackslash), QLatin1Char('|'), QLatin1Char(':'));
    };
    const qsizetype marker = text.indexOf(QLatin1String("///"));
    if (marker < 0) {
        // Not a URL: a Windows path is put in its own form, anything else is kept.
        const bool windows = IsWindowsFormPath(text) || startsWithDrive(text, QLatin1Char('|'));
        return windows ? windowsPath(text) : text;
    }
    const QString rest = text.mid(marker + 3);
    if (startsWithDrive(rest) || startsWithDrive(rest, QLatin1Char('|')))
        return windowsPath(rest);
    return QChar(kSlash) + rest;
}

QString ExtractFileName(const QString &path)
{
    return path.mid(fileNameStart(path));
}

QString ExtractFileFolder(const QString &path)
{
    return path.left(fileNameStart(path));
}

bool SamePath(const QString &a, const QString &b)
{
    if (IsWindowsFormPath(a) || IsWindowsFormPath(b))
        return a.compare(b, Qt::CaseInsensitive) == 0;
    return a == b;
}
