// lumo_e2e_screen: what the end-to-end test sees of the X screen. Coordinates are absolute
// screen pixels; the waits poll the screen until it shows what is asked for or the timeout
// (seconds) runs out, and exit with 0 (seen) or 1 (not seen).
//   shot FILE.png
//   wait-colour X Y W H RRGGBB TIMEOUT     a pixel of that colour inside the rectangle
//   wait-no-colour X Y W H RRGGBB TIMEOUT  no pixel of that colour inside the rectangle
//   hash X Y W H                           prints a digest of the rectangle
//   wait-change X Y W H DIGEST TIMEOUT     the rectangle differs from the digest
//   a11y-tree APPLICATION TIMEOUT          the application's accessibility tree (AT-SPI)
//   a11y-event focus|name TEXT TIMEOUT     waits for an object TEXT focused / named TEXT
#include "AccessibleTree.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

namespace {

QImage Grab(int x, int y, int w, int h) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, x, y, w, h)
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

bool HasColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xffffff) == (colour & 0xffffff))
                return true;
    }
    return false;
}

QByteArray Digest(const QImage& image) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)),
                                    image.width() * 4));
    return hash.result().toHex();
}

// Polls test(grab) every 40 ms until it holds or timeoutSeconds have passed.
template <typename Test> int WaitFor(const QStringList& a, double timeoutSeconds, Test test) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (test(Grab(a[2].toInt(), a[3].toInt(), a[4].toInt(), a[5].toInt())))
            return 0;
        if (clock.elapsed() > timeoutSeconds * 1000)
            return 1;
        QThread::msleep(40);
    }
}

int Usage() {
    std::fprintf(stderr, "usage: lumo_e2e_screen shot FILE | wait-colour|wait-no-colour X Y W H "
                         "RRGGBB TIMEOUT | hash X Y W H | wait-change X Y W H DIGEST TIMEOUT | "
                         "a11y-tree APPLICATION TIMEOUT | a11y-event focus|name TEXT TIMEOUT\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList a = QGuiApplication::arguments();
    const QString command = a.value(1);
    if (command == QLatin1String("shot") && a.size() == 3) {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen->grabWindow(0).save(a[2], "PNG") ? 0 : 1;
    }
    if (command == QLatin1String("a11y-event") && a.size() == 5)
        return WaitForAnnouncement(a[2], a[3], a[4].toDouble());
    if (command == QLatin1String("a11y-tree") && a.size() == 4)
        return PrintAccessibleTree(a[2], a[3].toDouble());
    if (command == QLatin1String("hash") && a.size() == 6) {
        std::printf(
            "%s\n",
            Digest(Grab(a[2].toInt(), a[3].toInt(), a[4].toInt(), a[5].toInt())).constData());
        return 0;
    }
    if (a.size() != 8)
        return Usage();
    const double timeout = a[7].toDouble();
    if (command == QLatin1String("wait-colour") || command == QLatin1String("wait-no-colour")) {
        const QRgb colour = a[6].toUInt(nullptr, 16);
        const bool wanted = command == QLatin1String("wait-colour");
        return WaitFor(a, timeout,
                       [&](const QImage& image) { return HasColour(image, colour) == wanted; });
    }
    if (command == QLatin1String("wait-change")) {
        const QByteArray before = a[6].toLatin1();
        return WaitFor(a, timeout, [&](const QImage& image) { return Digest(image) != before; });
    }
    return Usage();
}
