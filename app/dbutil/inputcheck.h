// Input checks shared by the device dialogs, the library dialogs and the image-upload paths.
// Pure functions: they return a verdict, a code or a text and never fail.
#pragma once

#include <QSize>
#include <QString>

#include "resultcode.h"

// Character rules of the device dialogs' line edits (case-sensitive QRegExp patterns).
constexpr const char kIpCharacterPattern[] = "[0-9.]*";
constexpr const char kUserNameCharacterPattern[] = "^[\\w]+$";
constexpr const char kPasswordCharacterPattern[] = "^[_a-zA-Z0-9]+$";

// Length limits, in characters.
constexpr int kUserNameMinLength = 4;
constexpr int kUserNameMaxLength = 16;
constexpr int kPasswordMinLength = 6;
constexpr int kPasswordMaxLength = 16;
constexpr int kLibraryNameMaxLength = 16;
constexpr int kImageNameMaxLength = 49;

// Limits of an uploadable picture.
constexpr qint64 kImageMaxBytes = 102400;
constexpr int kImageMinSide = 100;
constexpr int kImageMaxWidth = 1920;
constexpr int kImageMaxHeight = 1080;

// Dotted IPv4 text in its one canonical spelling: four decimal parts 0..255 without leading
// zeros or signs, the first 1..254, the last not 0. "10..0.1" and "010.0.0.1" are refused: the
// SDK cannot read them and the same camera could be listed twice.
bool isValidIp(const QString& text);
// The canonical spelling of a dotted address whose parts are plain decimal numbers 0..255
// ("010.0.0.1" gives "10.0.0.1"); null for anything else. Duplicates are found on it.
QString canonicalIp(const QString& text);
bool isValidUserNameLength(const QString& userName);  // 4..16 characters
bool isValidPasswordLength(const QString& password);  // 6..16 characters
// Valid IP and both lengths within their limits.
bool isValidDeviceInput(const QString& ip, const QString& userName, const QString& password);

// The rule texts shown after a failed user-name or password check; any other rule gives
// "Unknown error". Translated in the "QObject" context.
enum InputRule { UserNameRule = 1, PasswordRule = 2 };
QString inputRuleText(int rule);

// The add dialog's check: the first failing step fills message and gives false.
// message is left alone when all holds.
bool checkDeviceInput(const QString& ip, const QString& userName, const QString& password,
                      QString* message);

// What a camera holds in a name or text field: 63 bytes of UTF-8 (its fields are 64 wide).
constexpr int kCameraTextMaxBytes = 63;
bool fitsCameraText(const QString& text);

// 1..16 characters and not blank after trimming.
bool isValidLibraryName(const QString& name);
// 1..49 characters.
bool isValidImageName(const QString& name);

// resultcode::Ok when the file directory/fileName is usable, else ImageTypeError (name not
// ending in .jpg/.jpeg, any case), ImageSizeError (larger than 102400 bytes) or
// ImagePixelSizeError (picture, read by content, outside 100x100 .. 1920x1080, or unreadable);
// the first failing check in that order. An absolute fileName is used as it is.
int checkImageFile(const QString& fileName, const QString& directory);

// Single-purpose variants, given the path of the file.
bool isImageFileSizeOk(const QString& path);   // below 102401 bytes
bool isImagePixelSizeOk(const QString& path);  // readable, 100x100 .. 1920x1080
// The name ends in .jpg, .jpeg, .png or .bmp (any case).
bool hasImageExtension(const QString& fileName);

// Width and height of the picture decided from the file's content (not its name); an invalid
// size when it cannot be read.
QSize imagePixelSize(const QString& path);

// The first count characters (code points) of text, never splitting a surrogate pair.
QString firstCharacters(const QString& text, int count);
