// Who the live page's server answers: its own name at its own port, and
// for anything that could change something, its own pages.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/live/request_guard.h"

namespace {

using vexa::live::checkRequest;
using vexa::live::Refusal;
using vexa::live::RequestFacts;

struct Case {
    const char* method;
    const char* host;
    std::optional<const char*> origin;
    bool upgrade;
    Refusal expected;
};

TEST(RequestGuard, AnswersOnlyItsOwnNameAndItsOwnPages) {
    const Case cases[] = {
        // Reading: either name of the server at its port.
        {"GET", "127.0.0.1:8123", std::nullopt, false, Refusal::None},
        {"GET", "localhost:8123", std::nullopt, false, Refusal::None},
        {"HEAD", "LocalHost:8123", std::nullopt, false, Refusal::None},
        {"GET", "127.0.0.1:8123", "http://localhost:8123", false, Refusal::None},
        // A rebound DNS name, another port, no port, no Host at all.
        {"GET", "attacker.example:8123", std::nullopt, false, Refusal::ForeignHost},
        {"GET", "127.0.0.1:8124", std::nullopt, false, Refusal::ForeignHost},
        {"GET", "127.0.0.1:81230", std::nullopt, false, Refusal::ForeignHost},
        {"GET", "127.0.0.1", std::nullopt, false, Refusal::ForeignHost},
        {"GET", "", std::nullopt, false, Refusal::ForeignHost},
        {"GET", "127.0.0.1:8123.attacker.example", std::nullopt, false, Refusal::ForeignHost},
        // Another page's request, even one that only reads.
        {"GET", "127.0.0.1:8123", "http://attacker.example", false, Refusal::ForeignOrigin},
        {"GET", "127.0.0.1:8123", "https://127.0.0.1:8123", false, Refusal::ForeignOrigin},
        {"GET", "127.0.0.1:8123", "null", false, Refusal::ForeignOrigin},
        // WebSockets and whatever could change something need the Origin.
        {"GET", "127.0.0.1:8123", "http://127.0.0.1:8123", true, Refusal::None},
        {"GET", "127.0.0.1:8123", std::nullopt, true, Refusal::MissingOrigin},
        {"GET", "127.0.0.1:8123", "http://attacker.example:8123", true, Refusal::ForeignOrigin},
        {"POST", "127.0.0.1:8123", std::nullopt, false, Refusal::MissingOrigin},
        {"POST", "127.0.0.1:8123", "http://localhost:8123", false, Refusal::None},
        {"DELETE", "localhost:8123", "http://localhost:8124", false, Refusal::ForeignOrigin},
    };
    for (const Case& c : cases) {
        RequestFacts facts;
        facts.method = c.method;
        facts.host = c.host;
        if (c.origin) facts.origin = *c.origin;
        facts.upgrade = c.upgrade;
        EXPECT_EQ(checkRequest(facts, 8123), c.expected)
            << c.method << " Host " << c.host << " Origin " << c.origin.value_or("(none)") << " upgrade " << c.upgrade;
    }
}

}  // namespace
