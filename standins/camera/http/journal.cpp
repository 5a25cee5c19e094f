#include "http/journal.h"

#include <strings.h>

namespace camsim {

std::string HttpRequest::header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    return "";
}

bool HttpRequest::hasHeader(const std::string& name) const {
    for (const auto& entry : headers)
        if (strcasecmp(entry.first.c_str(), name.c_str()) == 0) return true;
    return false;
}

std::string JournalEntry::header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    return "";
}

void Journal::record(JournalEntry entry) {
    entry.answered = JournalEntry::Clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    if (entries_.size() >= kCapacity) entries_.pop_front();
    entries_.push_back(std::move(entry));
}

std::vector<JournalEntry> Journal::entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

std::vector<JournalEntry> Journal::on(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<JournalEntry> out;
    for (const auto& e : entries_)
        if (e.authenticated && e.path == path) out.push_back(e);
    return out;
}

void Journal::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
}

}  // namespace camsim
