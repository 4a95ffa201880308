#include "picturepath.h"

#include <QFileInfo>

namespace picturepath {
namespace {

const QString fileScheme = QStringLiteral("file:");

QString unquoted(const QString &text)
{
    QString trimmed = text;
    while (trimmed.endsWith(QLatin1Char('\n')) || trimmed.endsWith(QLatin1Char('\r')))
        trimmed.chop(1);
    if (trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('"')) &&
        trimmed.endsWith(QLatin1Char('"')))
        return trimmed.mid(1, trimmed.size() - 2);
    return trimmed;
}

// "scheme:" at the start, as URLs have it; a Windows drive letter ("C:") is a
// path, not a scheme.
bool hasOtherScheme(const QString &text)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon < 2)
        return false;
    for (int i = 0; i < colon; ++i) {
        const QChar c = text.at(i);
        const bool schemeChar = c.isLetterOrNumber() || c == QLatin1Char('+') ||
                                c == QLatin1Char('-') || c == QLatin1Char('.');
        if (!schemeChar || c.unicode() > 127)
            return false;
    }
    return true;
}

// Two slashes or backslashes first name a share on another machine to Windows
// (\\server\photos\eye.png, also \\?\UNC\server\...): merely asking whether such
// a file exists sends a network request, with the user's credentials. Where "/"
// is the root nobody writes "//" for it, so the rule holds everywhere.
bool namesShare(const QString &path)
{
    const auto separator = [&](int i) {
        return path.size() > i &&
               (path.at(i) == QLatin1Char('/') || path.at(i) == QLatin1Char('\\'));
    };
    return separator(0) && separator(1);
}

// The text after "file:" is a host (empty or "localhost"; any other, a share on
// another machine, is refused) and a path, which is kept whole: "#" and "?" in
// it are part of the name, since a copied name is not a web address with a
// fragment or a query.
QString localPathOfFileUrl(const QString &afterScheme, bool decode)
{
    QString rest = afterScheme;
    QString host;
    if (rest.startsWith(QLatin1String("//"))) {
        const int slash = rest.indexOf(QLatin1Char('/'), 2);
        host = rest.mid(2, slash < 0 ? -1 : slash - 2);
        rest = slash < 0 ? QString() : rest.mid(slash);
    }
    if (rest.isEmpty())
        return QString();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        host.clear();
    QUrl url;
    url.setScheme(QStringLiteral("file"));
    url.setHost(host);
    url.setPath(decode ? QUrl::fromPercentEncoding(rest.toUtf8()) : rest, QUrl::DecodedMode);
    if (!url.isValid())
        return QString();
    if (!host.isEmpty()) // another machine's file is not a local one
        return QString();
    const QString path = url.toLocalFile();
    return namesShare(path) ? QString() : path;
}

} // namespace

QStringList candidates(const QString &text)
{
    const QString named = unquoted(text);
    // A NUL cannot occur in a file name; junk text is not asked about.
    if (named.isEmpty() || named.contains(QChar(0)))
        return {};
    if (named.startsWith(fileScheme, Qt::CaseInsensitive)) {
        const QString rest = named.mid(fileScheme.size());
        QStringList paths;
        for (const bool decode : {true, false}) {
            const QString path = localPathOfFileUrl(rest, decode);
            if (!path.isEmpty() && !paths.contains(path))
                paths << path;
        }
        return paths;
    }
    if (hasOtherScheme(named) || namesShare(named))
        return {};
    return {named};
}

QStringList candidates(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    return candidates(url.toString(QUrl::FullyEncoded));
}

QString firstRegularFile(const QStringList &candidates)
{
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

bool hasImageSuffix(const QString &name)
{
    return name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

} // namespace picturepath
