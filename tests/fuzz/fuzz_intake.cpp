// libFuzzer target for the decisions taken on what comes from outside: copied or
// dropped text and URL lists (which local file, if any, they name) and picture
// bytes (what kind, which declared size, whether complete, and the decode).
//
// The first byte chooses the road; the rest is its input.
#include "picture/clipboardimage.h"
#include "picture/picturedata.h"
#include "picture/picturepath.h"

#include <QCoreApplication>
#include <QMimeData>

#include <cstddef>
#include <cstdint>

namespace {

// Small limits keep each run quick; the decisions are the same at any size.
const picturedata::Limits fuzzLimits{2048, 2048 * 1024};

void text(const QByteArray &bytes)
{
    const QString copied = QString::fromUtf8(bytes);
    picturepath::firstRegularFile(picturepath::candidates(copied));
    clipboardimage::fromText(copied);
}

void uriList(const QByteArray &bytes)
{
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), bytes);
    const QList<QUrl> urls = data.urls();
    clipboardimage::fromUrls(urls);
    for (const QUrl &url : urls)
        picturepath::candidates(url);
}

void pictureBytes(const QByteArray &bytes)
{
    picturedata::jpegReachesItsEnd(bytes);
    const picturedata::Picture picture = picturedata::decode(bytes, fuzzLimits);
    const bool shown = picture.verdict == picturedata::Verdict::Readable ||
                       picture.verdict == picturedata::Verdict::Incomplete;
    if (shown == picture.image.isNull())
        __builtin_trap(); // a picture is shown exactly when it was decoded
    if (shown && (picture.image.width() > fuzzLimits.largestSide ||
                  picture.image.height() > fuzzLimits.largestSide))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_intake";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv); // image format plugins need it
    if (size < 1)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data + 1), int(size - 1));
    switch (data[0] % 3) {
    case 0:
        text(input);
        break;
    case 1:
        uriList(input);
        break;
    default:
        pictureBytes(input);
        break;
    }
    return 0;
}
