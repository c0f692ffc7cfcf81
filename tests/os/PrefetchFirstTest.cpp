// The screenshot prefetch starts before the application object exists. Its
// thread must leave Qt's idea of the main thread alone: whichever thread first
// creates Qt's per-thread data becomes Qt's main thread, and a program whose
// main thread is not Qt's starts no browser engine and shows no modal window.
// Here the worker is made to be first: the application waits until the worker
// has opened the screenshot (a large one, so that it is still decoding).
#include "os/PicturePrefetch.h"

#include <QApplication>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

QStringList qtMessages;
QImage prefetched;

void record(QtMsgType, const QMessageLogContext &, const QString &message)
{
    qtMessages << message;
}

constexpr int kWidth = 8192, kHeight = 4096;

// A large bitmap (32 bits, bottom-up) whose bottom-left pixel is blue and
// bottom-right one red, written with the C library only: nothing of Qt may
// run before the prefetch has. Its pixels are a hole in the file, so it is
// written at once.
std::string writeBitmap()
{
    char folder[] = "/tmp/tavlin-prefetch-XXXXXX";
    if (!::mkdtemp(folder))
        return {};
    const std::string path = std::string(folder) + "/shot.bmp";
    const long pixels = long(kWidth) * kHeight * 4;
    auto le = [](unsigned char *at, long value) {
        for (int i = 0; i < 4; ++i)
            at[i] = static_cast<unsigned char>(value >> (8 * i));
    };
    unsigned char head[54] = { 'B', 'M' };
    le(head + 2, 54 + pixels);
    le(head + 10, 54);
    le(head + 14, 40);
    le(head + 18, kWidth);
    le(head + 22, kHeight);
    head[26] = 1;
    head[28] = 32;
    const unsigned char blue[4] = { 0xFF, 0, 0, 0 }, red[4] = { 0, 0, 0xFF, 0 };
    FILE *out = std::fopen(path.c_str(), "wb");
    if (!out)
        return {};
    std::fwrite(head, 1, sizeof head, out);
    std::fwrite(blue, 1, 4, out);
    std::fseek(out, 54 + (kWidth - 1) * 4, SEEK_SET);
    std::fwrite(red, 1, 4, out);
    std::fseek(out, 54 + pixels - 1, SEEK_SET);
    std::fputc(0, out);
    std::fclose(out);
    return path;
}

// Whether this process has `path` open.
bool opened(const std::string &path)
{
    DIR *fds = ::opendir("/proc/self/fd");
    bool found = false;
    while (dirent *fd = fds ? ::readdir(fds) : nullptr) {
        char target[PATH_MAX];
        const std::string link = std::string("/proc/self/fd/") + fd->d_name;
        const ssize_t size = ::readlink(link.c_str(), target, sizeof target);
        found = found || (size > 0 && std::string(target, size_t(size)) == path);
    }
    if (fds)
        ::closedir(fds);
    return found;
}

} // namespace

TEST(PrefetchFirst, QtsMainThreadStaysTheProgramsMainThread)
{
    EXPECT_FALSE(qtMessages.join('\n').contains(QStringLiteral("main() thread")))
        << qPrintable(qtMessages.join('\n'));
    ASSERT_EQ(prefetched.size(), QSize(kWidth, kHeight)) << "the worker decoded nothing";
    EXPECT_EQ(prefetched.pixel(0, kHeight - 1), qRgb(0, 0, 255));
    EXPECT_EQ(prefetched.pixel(kWidth - 1, kHeight - 1), qRgb(255, 0, 0));
}

int main(int argc, char **argv)
{
    qInstallMessageHandler(record);
    const std::string bitmap = writeBitmap();
    PrefetchPicture(QString::fromStdString(bitmap));
    for (int wait = 0; !bitmap.empty() && !opened(bitmap) && wait < 10000; ++wait)
        ::usleep(1000);

    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    prefetched = takePrefetchedPicture(QString::fromStdString(bitmap));
    ::unlink(bitmap.c_str());
    ::rmdir(bitmap.substr(0, bitmap.rfind('/')).c_str());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
