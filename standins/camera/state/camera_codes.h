// Result codes a camera puts in the "code" member of its replies.
#pragma once

namespace camsim::code {

constexpr int kSuccess = 0;
constexpr int kBadRequest = -1;
constexpr int kIdentifierExists = 1020;
constexpr int kLibraryLimit = 2001;
constexpr int kStoreLocked = 2005;
constexpr int kImageNotFound = 2010;
constexpr int kLibraryNotFound = 2012;
constexpr int kExtractionRunning = 2013;
constexpr int kUnusableImage = 2020;

}  // namespace camsim::code
