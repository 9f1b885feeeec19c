#pragma once
// Scans into the archive: bilder/<n>.jpg, the full picture (a JPEG copied byte for byte,
// another format converted), and bilder/<n>.bmp, the small picture the dialogs show.
// Needs no window: the command line uses it as the dialog does. Decoding and encoding run
// on worker threads; every file is written whole or not at all through the file layer.
#include "extras/logic/ScanMatching.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumo {

class Archive;

// The picture area of the slide entry and the slide data viewer.
inline constexpr QSize kSmallPictureSize(144, 88);
inline constexpr int kDefaultJpegQuality = 90;

struct ConvertedScan {
    QByteArray full;     // bilder/<n>.jpg
    QByteArray small;    // bilder/<n>.bmp
    QString error;       // why the file could not be used; empty on success
    bool copied = false; // full holds the file's own bytes (a JPEG)
};

// Decodes the image once (orientation from EXIF applied): a JPEG is decoded straight at
// the small size and its bytes kept as they are; another format is decoded whole and
// written as a JPEG of the given quality (1..100).
ConvertedScan ConvertScan(const QByteArray& data, int jpegQuality);
ConvertedScan ConvertScanFile(const QString& path, int jpegQuality);

// The image files of a folder (what Qt's image readers read, by suffix), names as bytes.
std::vector<std::string> ListScanFiles(const QString& folder);
// True when bilder/<n>.jpg or bilder/<n>.bmp exists; one listing of bilder/ for all calls.
std::function<bool(int32_t)> PictureLookup(const Archive& archive);

struct ImportJob {
    QString source; // full path of the scan
    QString name;   // its name as shown
    int32_t slide = 0;
    std::filesystem::path full, small; // where bilder/<n>.jpg and .bmp go
};
// Jobs for the rows that are to be imported; creates bilder/ when it is missing.
std::vector<ImportJob> MakeImportJobs(const Archive& archive, const QString& folder,
                                      const std::vector<ScanRow>& rows);
// Writes both pictures of a converted scan; 0 or the system error number of the first
// failure (`failed` then names the file). Each file is replaced whole or left as it was.
int WriteScanPictures(const ImportJob& job, const ConvertedScan& scan, QString* failed);

// The line printed or shown for a row that is not imported, and for a finished job.
QString SkipText(const ScanRow& row);
struct ImportOutcome {
    size_t job = 0;
    bool ok = false;
    QString text;
};

// The import of a list of jobs on worker threads (both cores). The caller's thread takes
// the finished outcomes and may cancel: jobs already started are finished, no new ones.
class PictureImportRun {
public:
    PictureImportRun(std::vector<ImportJob> jobs, int jpegQuality, int threads = 0);
    ~PictureImportRun();
    PictureImportRun(const PictureImportRun&) = delete;
    PictureImportRun& operator=(const PictureImportRun&) = delete;

    void start();
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }
    // Outcomes finished since the last call; waits up to waitMs for the first one.
    std::vector<ImportOutcome> take(int waitMs);
    bool done(); // every worker has ended and every outcome was taken
    const std::vector<ImportJob>& jobs() const { return jobs_; }

private:
    void work();
    std::vector<ImportJob> jobs_;
    int quality_;
    int threadCount_;
    std::vector<std::thread> threads_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<ImportOutcome> finished_;
    int running_ = 0;
};

} // namespace lumo
