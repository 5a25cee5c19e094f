// The result codes of the program: one int space for what camlink returns, what a camera
// answers and what the program decides itself, so that one ErrorText reads every result.
//
// - camlink's results (vcam_result) pass through unchanged: 0, an HTTP status below 1000,
//   3000 + n and 4000 for the camera's own errors, 10000 + n for a failed transfer (curl's
//   error n), 100001 for a failed upgrade.
// - A call that camlink completed gives the camera's reply "code" (2012, 2013, ...).
// - The program's own codes 1 to 25 and -1 to -3 keep the numbers the texts and the jobs' owners
//   have always used. Some share their number with a camlink result (1, 10, 13, 18, 19, -1);
//   there a text cannot tell the two apart, and the comment names both.
// - Codes the program added later lie from kAddedBase up, outside every range above.
//
// Each number has one name here; a number never changes once given.
#pragma once

#include <camlink.h>

namespace resultcode {

constexpr int kAddedBase = 20000;

enum Code : int {
    Ok = VCAM_OK,

    // The program's own (texts of their own unless said otherwise).
    BadParameter = 1,    // a null record; also camlink's VCAM_ERR_NO_TRANSFER
    InvalidMessage = 2,  // a reply without the expected JSON shape
    NotLoggedIn = 3,
    LoginFailed = 4,    // no session could be had
    LibraryLocked = 5,  // the export could not lock the library
    SdkError = 6,
    LibraryError = 7,          // a library not read or not created
    FileError = 8,             // a package or work file missing, damaged or not written
    WrongDeviceType = 9,       // the firmware is not of the supported kind
    NotAllTransferred = 10,    // fewer records exported or imported than announced;
                               // also camlink's VCAM_ERR_SESSION
    ImageTypeError = 11,       // not a .jpg or .jpeg name
    ImageSizeError = 12,       // more bytes than a camera takes
    ImagePixelSizeError = 13,  // too small or too large, or unreadable; also VCAM_ERR_REPLY
    OpenFailed = 14,           // a package archive that does not open
    Incompatible = 15,         // a package of another version (no text of its own)
    Md5Failed = 16,
    UpgradeError = 17,
    ConnectionTimeout = 18,  // also camlink's VCAM_ERR_ARGUMENT
    NetworkError = 19,       // the camera stopped answering during an export;
                             // also camlink's VCAM_ERR_UNSUPPORTED
    NoIpAddress = 20,        // the device form's empty fields
    NoUserName = 21,
    NoPassword = 22,
    NotDone = 23,          // version not read, work directory not made, library not
                           // unlocked, extraction not started (no text of its own)
    PackageTooLarge = 24,  // beyond what a package can hold
    NoDiskSpace = 25,      // the unpacked package would not fit on the disk
    ImageGone = -1,        // the camera no longer has the picture (its HTTP 404);
                           // also camlink's VCAM_ERR_NO_MEMORY
    ImageNotFetched = -2,  // any other failed picture download
    PackageInvalid = -3,   // the batch package does not unpack

    // Added later: none shares a number with camlink or a camera.
    NeverStarted = kAddedBase + 1,    // a batch row cancelled while it waited for its turn
    WorkDirForeign = kAddedBase + 2,  // "temp" exists and was not made by the program

    // HTTP statuses of the camera, as camlink hands them on.
    HttpUnauthorized = 401,
    LoginRefused = 403,  // wrong user name or password; the reply says the tries left
    HttpNotFound = 404,
    AccountLocked = 423,  // too many wrong tries; the reply says the seconds left

    // The camera's reply codes the program acts on.
    CameraLibraryNotFound = 2012,
    CameraExtractRunning = 2013,

    // camlink's transfer errors the program acts on or names.
    TransferNoConnection = VCAM_ERR_TRANSFER_BASE + 7,
    TransferTimedOut = VCAM_ERR_TRANSFER_BASE + 28,
};

// Every code above, for checks that walk them all.
constexpr Code kCodes[] = {
    Ok,
    BadParameter,
    InvalidMessage,
    NotLoggedIn,
    LoginFailed,
    LibraryLocked,
    SdkError,
    LibraryError,
    FileError,
    WrongDeviceType,
    NotAllTransferred,
    ImageTypeError,
    ImageSizeError,
    ImagePixelSizeError,
    OpenFailed,
    Incompatible,
    Md5Failed,
    UpgradeError,
    ConnectionTimeout,
    NetworkError,
    NoIpAddress,
    NoUserName,
    NoPassword,
    NotDone,
    PackageTooLarge,
    NoDiskSpace,
    ImageGone,
    ImageNotFetched,
    PackageInvalid,
    NeverStarted,
    WorkDirForeign,
    HttpUnauthorized,
    LoginRefused,
    HttpNotFound,
    AccountLocked,
    CameraLibraryNotFound,
    CameraExtractRunning,
    TransferNoConnection,
    TransferTimedOut,
};

}  // namespace resultcode

// The camera did not answer (camlink's transfer errors), as opposed to a camera that answered
// with an error.
constexpr bool isTransferError(int code) {
    return code >= VCAM_ERR_TRANSFER_BASE && code < resultcode::kAddedBase;
}
