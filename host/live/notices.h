// What the page shows as notifications: the plug-in's error reports to the
// host and host calls that did not answer as expected, numbered so that a
// page shows each once, however often it is sent the list.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "host/kite/json_text.h"

namespace vexa::live {

class Notices {
public:
    static constexpr std::size_t kKept = 20;

    void add(std::string text) {
        notes_.push_back({++last_, std::move(text)});
        if (notes_.size() > kKept) notes_.pop_front();
    }
    // The newest kKept, oldest first: [{"seq": N, "text": TEXT}, ...].
    kite::Json json() const {
        kite::Json out = kite::Json::array();
        for (const Note& note : notes_) out.push_back({{"seq", note.seq}, {"text", note.text}});
        return out;
    }
    std::uint64_t last() const noexcept { return last_; }

private:
    struct Note {
        std::uint64_t seq;
        std::string text;
    };
    std::deque<Note> notes_;
    std::uint64_t last_ = 0;
};

}  // namespace vexa::live
