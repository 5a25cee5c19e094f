// The one place where the program talks to cameras. Every member logs in through a
// per-camera session cache, fills camlink's argument record, calls the export and reads the
// camera's JSON reply. Members block; pages run them through DeviceControl, worker threads
// call them directly.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>

#include <camlink.h>

#include "records.h"

class Interaction {
public:
    // Progress of a loop over images: the count so far; returning true stops the loop.
    using CountCallback = std::function<bool(int count)>;
    // The outcome of one item of a loop over images: its index and the call's code (0 stored).
    // Items the loop never reached (stopped, camera gone silent) get no call.
    using ItemCallback = std::function<void(int index, int code)>;
    // Progress of an extraction: returning true stops the polling.
    using ExtractCallback = std::function<bool(int extracted, int errors, int total)>;
    // Progress of a LAN search: returning true stops reading its results.
    using ScanCallback = std::function<bool(int current, int total)>;

    static Interaction& instance();

    Interaction() = default;
    ~Interaction();  // logs every cached session out
    Interaction(const Interaction&) = delete;
    Interaction& operator=(const Interaction&) = delete;

    // The session for ip (cached, or a new login); above 0 on success. result gets the
    // login's code and, for 403/423, the attempts or seconds left.
    int login(const QString& ip, const QString& username, const QString& password,
              LoginResult* result);
    void logoutAll();

    // Device: firmware version, type check and (updateIPC) the library list.
    int updateIPC(SDeviceInfo* device, LoginResult* login);
    int checkIPC(SDeviceInfo* device, LoginResult* login);
    bool refreshDbList(SDeviceInfo* device);

    // Libraries.
    bool addFaceDB(const SDeviceInfo& device, SDBInfo* db);
    bool updateFaceDB(const SDeviceInfo& device, const SDBInfo& db);
    bool deleteFaceDB(const SDeviceInfo& device, const QString& libid);
    bool getFaceDB(const SDeviceInfo& device, SDBInfo* db);
    int lockFaceDB(const SDeviceInfo& device, const QString& libid);
    int unlockFaceDB(const SDeviceInfo& device, const QString& libid);
    bool clearImages(const SDeviceInfo& device, const QString& libid);
    bool extractFeature(const SDeviceInfo& device, const QString& libid, int* total, int* extracted,
                        int* errors, const ExtractCallback& progress);

    // Images.
    bool addImage(const SDeviceInfo& device, const SFeatrueInfoPtr& image);
    int addImages(const SDeviceInfo& device, const QString& libid, const SFeatrueList& images,
                  const CountCallback& progress, const ItemCallback& itemDone = nullptr);
    bool updateImage(const SDeviceInfo& device, const SFeatrueInfo& image);
    int deleteImage(const SDeviceInfo& device, const SFeatrueInfo& image);
    int deleteImages(const SDeviceInfo& device, const SFeatrueList* images);
    // code, when given, gets why a listing failed: the login's code or the call's.
    bool listImage(const SDeviceInfo& device, SPageInfo* page, SFeatrueList* out,
                   int* code = nullptr);
    int getImage(const SDeviceInfo& device, Protocol::MsgImageData* data);

    // A library read page by page on a session of its own, logged out when the reader goes:
    // the camera's cached session then does not keep the memory the pages' replies grew. When
    // sessions do not go side by side, or no session of its own can be opened, the cached one
    // reads.
    class PageReader {
    public:
        explicit PageReader(const SDeviceInfo& device);
        ~PageReader();
        PageReader(const PageReader&) = delete;
        PageReader& operator=(const PageReader&) = delete;
        // As listImage and exportFaceDB: 0 or the camera's code.
        int list(SPageInfo* page, SFeatrueList* out);
        int exportRecords(SPageInfo* page, SFeatrueList* out);

    private:
        int session();  // 0 when none of its own could be opened

        SDeviceInfo device_;
        int handle_ = -1;  // not opened yet
    };

    // Whole records with their features, for packages.
    int exportFaceDB(const SDeviceInfo& device, SPageInfo* page, SFeatrueList* out);
    int importFaceDB(const SDeviceInfo& device, const QString& libid, const SFeatrueList& records,
                     const CountCallback& progress);

    // LAN search: the addresses of cameras of the supported type, in numeric order.
    void scan(QStringList* out, const ScanCallback& progress);

    // Number of cached sessions (for tests and diagnostics).
    int sessionCount() const;

private:
    struct DeviceSession {
        QString ip;
        QString username;
        QString password;
        int handle = 0;
    };

    struct DeviceCheck {
        int code = 0;
        int handle = 0;
        bool versionRead = false;
    };

    // Login, firmware version and type check shared by updateIPC and checkIPC.
    DeviceCheck checkDevice(SDeviceInfo* device, LoginResult* login);
    // Login for a member; on failure writes the member's login-failure lines.
    int loginFor(const SDeviceInfo& device, const char* member, const char* debugText,
                 LoginResult* result = nullptr);
    int readVersion(int handle, SDeviceInfo* device);
    int listLibraries(int handle, SDeviceInfo* device);
    int findLibrary(int handle, SDBInfo* db);
    int findLibraryOnce(int handle, SDBInfo* db);
    int addImageStep(int handle, SFeatrueInfo* image);
    int updateImageStep(int handle, const SFeatrueInfo& image);
    int findImageStep(int handle, SFeatrueInfo* image);
    int deleteImageStep(int handle, const SFeatrueInfo& image);
    int importRecordStep(int handle, const SFeatrueInfo& record);
    int startExtraction(int handle, const QString& libid);
    void pollExtraction(int handle, const QString& libid, int* total, int* extracted, int* errors,
                        const ExtractCallback& progress);
    using ImageStep = std::function<int(int handle, SFeatrueInfo* image)>;
    // lanesOf: the camera whose images go side by side in lanes; null: one after another.
    int countedLoop(int handle, const QString& libid, const SFeatrueList& images,
                    const CountCallback& progress, const ImageStep& step, const char* member,
                    const SDeviceInfo* lanesOf = nullptr,
                    const ItemCallback& itemDone = nullptr);
    struct LoopOutcome {
        int count = 0;         // images the camera accepted
        bool stopped = false;  // the progress callback asked to stop
        bool silent = false;   // the camera stopped answering
        int unsent = 0;        // images never tried once the camera fell silent
    };
    LoopOutcome serialLoop(int handle, const SFeatrueList& images, const CountCallback& progress,
                           const ImageStep& step, const ItemCallback& itemDone);
    LoopOutcome laneLoop(const SDeviceInfo& device, int handle, const SFeatrueList& images,
                         const CountCallback& progress, const ImageStep& step,
                         const ItemCallback& itemDone, const std::function<void()>& beforeItems);
    // A session of the camera apart from the cache, for one lane of a loop; 0 on failure.
    int openLane(const SDeviceInfo& device);
    static void closeLane(int handle);
    int readPage(int (*call)(int, vcam_image_query*), int handle, const char* step, SPageInfo* page,
                 SFeatrueList* out);
    int libraryCall(int (*call)(int, vcam_library_record*), int handle, const QString& libid,
                    const char* step);

    // The lock a login of ip holds, made on first use.
    std::shared_ptr<std::mutex> loginGate(const QString& ip);

    mutable std::mutex mutex_;  // guards the two tables, never held over a camera call
    QHash<QString, DeviceSession> sessions_;
    QHash<QString, std::shared_ptr<std::mutex>> loginGates_;
};

// Type check of the firmware version: 10 to 256 characters and "RECOG" in it.
bool isSupportedVersion(const QString& version);
// Dotted IPv4 texts in numeric order; texts of fewer than four parts are dropped.
QStringList sortAddresses(const QStringList& addresses);
