#include "extras/ScanImport.h"

#include "store/Archive.h"
#include "store/FileUtil.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <set>

namespace lumo {

namespace {

std::string BareName(int32_t slide, const char* suffix) {
    return "bilder/" + std::to_string(slide) + suffix;
}

QString Shown(const std::filesystem::path& p) {
    return QStringLiteral("bilder/") + QFile::decodeName(QByteArray::fromStdString(p.filename()));
}

// The small picture: the image fitted into the picture area, centred on black like a
// slide in its mount, so that the dialogs show it without distortion.
QByteArray SmallPicture(const QImage& image) {
    QImage canvas(kSmallPictureSize, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    // A whole scan is first thinned to four times the size (cheap), then smoothed down.
    const QImage source =
        image.width() > 4 * kSmallPictureSize.width()
            ? image.scaled(kSmallPictureSize * 4, Qt::KeepAspectRatio, Qt::FastTransformation)
            : image;
    const QImage fitted =
        source.size() == source.size().scaled(kSmallPictureSize, Qt::KeepAspectRatio)
            ? source
            : source.scaled(kSmallPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter p(&canvas);
    p.drawImage((canvas.width() - fitted.width()) / 2, (canvas.height() - fitted.height()) / 2,
                fitted);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    canvas.save(&buffer, "BMP");
    return bytes;
}

QString ReaderError(const QImageReader& reader) {
    return QStringLiteral("kein lesbares Bild (") + reader.errorString() + u')';
}

} // namespace

ConvertedScan ConvertScan(const QByteArray& data, int jpegQuality) {
    ConvertedScan out;
    QByteArray copy = data; // the reader's buffer; shares the bytes
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        out.error = ReaderError(reader);
        return out;
    }
    if (reader.format() == "jpeg") {
        // Only the small picture is decoded, straight at about its size; the file itself
        // is the full picture.
        QSize stored = reader.size();
        if (stored.isValid()) {
            QSize area = kSmallPictureSize;
            if (reader.transformation() & QImageIOHandler::TransformationRotate90)
                area.transpose();
            reader.setScaledSize(stored.scaled(area, Qt::KeepAspectRatio));
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            out.error = ReaderError(reader);
            return out;
        }
        out.full = data;
        out.copied = true;
        out.small = SmallPicture(image);
        return out;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        out.error = ReaderError(reader);
        return out;
    }
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
        p.end();
        image = flat;
    }
    QBuffer jpeg(&out.full);
    jpeg.open(QIODevice::WriteOnly);
    QImageWriter writer(&jpeg, "jpeg");
    writer.setQuality(std::clamp(jpegQuality, 1, 100));
    if (!writer.write(image)) {
        out.error =
            QStringLiteral("Umwandlung in JPEG fehlgeschlagen (") + writer.errorString() + u')';
        out.full.clear();
        return out;
    }
    out.small = SmallPicture(image);
    return out;
}

ConvertedScan ConvertScanFile(const QString& path, int jpegQuality) {
    // Through the file layer: a FIFO or device of a scan's name is refused, never waited on.
    int err = 0;
    const std::optional<std::string> bytes =
        ReadWholeFile(QFile::encodeName(path).toStdString(), &err);
    if (!bytes) {
        ConvertedScan out;
        out.error = QStringLiteral("nicht lesbar (I/O-Fehler ") + QString::number(err) + u')';
        return out;
    }
    // A copy: the converted scan keeps a JPEG's bytes beyond this call.
    return ConvertScan(QByteArray(bytes->data(), qsizetype(bytes->size())), jpegQuality);
}

std::vector<std::string> ListScanFiles(const QString& folder) {
    std::set<QString> suffixes;
    for (const QByteArray& f : QImageReader::supportedImageFormats())
        suffixes.insert(QString::fromLatin1(f).toLower());
    std::vector<std::string> out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Readable, QDir::Name))
        if (suffixes.count(QFileInfo(name).suffix().toLower()))
            out.push_back(QFile::encodeName(name).toStdString());
    return out;
}

std::function<bool(int32_t)> PictureLookup(const Archive& archive) {
    return [names = archive.listFolded("bilder")](int32_t n) {
        const std::string s = std::to_string(n);
        return names.count(s + ".jpg") > 0 || names.count(s + ".bmp") > 0;
    };
}

std::vector<ImportJob> MakeImportJobs(const Archive& archive, const QString& folder,
                                      const std::vector<ScanRow>& rows) {
    std::error_code ec;
    const auto pictures = archive.resolve("bilder");
    if (!std::filesystem::is_directory(pictures, ec))
        std::filesystem::create_directory(pictures, ec);
    std::vector<ImportJob> jobs;
    const QDir dir(folder);
    for (const auto& row : rows) {
        if (!row.willImport())
            continue;
        ImportJob job;
        job.name = QFile::decodeName(QByteArray::fromStdString(row.file));
        job.source = dir.filePath(job.name);
        job.slide = row.slide;
        job.full = archive.resolve(BareName(row.slide, ".jpg"));
        job.small = archive.resolve(BareName(row.slide, ".bmp"));
        jobs.push_back(std::move(job));
    }
    return jobs;
}

int WriteScanPictures(const ImportJob& job, const ConvertedScan& scan, QString* failed) {
    const std::pair<const std::filesystem::path*, const QByteArray*> files[] = {
        {&job.full, &scan.full}, {&job.small, &scan.small}};
    for (const auto& [path, bytes] : files) {
        if (const int err = WriteFileAtomically(
                *path, std::string_view(bytes->constData(), size_t(bytes->size())))) {
            if (failed)
                *failed = Shown(*path);
            return err;
        }
    }
    return 0;
}

QString SkipText(const ScanRow& row) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(row.file));
    const QString slide = QString::number(row.slide);
    switch (row.match) {
    case ScanMatch::NoNumber:
        return name + QStringLiteral(": keine Dianummer im Dateinamen");
    case ScanMatch::NoSuchSlide:
        return name + (row.slide > 0 ? QStringLiteral(": Dia ") + slide +
                                           QStringLiteral(" ist nicht im Archiv")
                                     : QStringLiteral(": keine Dianummer mehr frei"));
    case ScanMatch::Duplicate:
        return name + QStringLiteral(": Dia ") + slide +
               QStringLiteral(" bekommt schon das Bild einer anderen Datei");
    case ScanMatch::PictureThere:
        return name + QStringLiteral(": Dia ") + slide +
               QString::fromUtf8(" hat schon ein Bild, nicht ersetzt");
    case ScanMatch::Ready:
        break;
    }
    return name;
}

PictureImportRun::PictureImportRun(std::vector<ImportJob> jobs, int jpegQuality, int threads)
    : jobs_(std::move(jobs)), quality_(jpegQuality) {
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    threadCount_ = std::clamp(threads > 0 ? threads : cores, 1, 4);
    threadCount_ = std::min(threadCount_, std::max(1, int(jobs_.size())));
}

PictureImportRun::~PictureImportRun() {
    cancel();
    for (auto& t : threads_)
        t.join();
}

void PictureImportRun::start() {
    running_ = threadCount_;
    for (int i = 0; i < threadCount_; ++i)
        threads_.emplace_back([this] { work(); });
}

void PictureImportRun::work() {
    for (;;) {
        const size_t i = next_++;
        if (i >= jobs_.size() || cancelled_)
            break;
        const ImportJob& job = jobs_[i];
        ImportOutcome outcome{i, false, {}};
        const ConvertedScan scan = ConvertScanFile(job.source, quality_);
        QString failed;
        if (!scan.error.isEmpty()) {
            outcome.text = job.name + QStringLiteral(": FEHLER, ") + scan.error;
        } else if (const int err = WriteScanPictures(job, scan, &failed)) {
            outcome.text = job.name + QStringLiteral(": FEHLER, ") + failed +
                           QStringLiteral(" konnte nicht geschrieben werden (Fehler ") +
                           QString::number(err) + u')';
        } else {
            outcome.ok = true;
            outcome.text = job.name + QStringLiteral(" -> Dia ") + QString::number(job.slide) +
                           QStringLiteral(" (") + Shown(job.full) + QStringLiteral(", ") +
                           Shown(job.small) + u')';
        }
        const std::lock_guard lock(mutex_);
        finished_.push_back(std::move(outcome));
        ready_.notify_all();
    }
    const std::lock_guard lock(mutex_);
    --running_;
    ready_.notify_all();
}

std::vector<ImportOutcome> PictureImportRun::take(int waitMs) {
    std::unique_lock lock(mutex_);
    ready_.wait_for(lock, std::chrono::milliseconds(waitMs),
                    [this] { return !finished_.empty() || running_ == 0; });
    std::vector<ImportOutcome> out;
    out.swap(finished_);
    return out;
}

bool PictureImportRun::done() {
    const std::lock_guard lock(mutex_);
    return running_ == 0 && finished_.empty();
}

} // namespace lumo
