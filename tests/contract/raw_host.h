// A host made of raw slot tables: the application, its data chain, the
// plug-in's channel group, the clock, one XML document, the channels the
// plug-in creates, and the toolkit's windows with their controls. Each
// handler is written from the host's own description of the method at that
// number (what passes, what comes back), never from our interface
// declarations, so a method declared at the wrong slot shows up as a call
// recorded at the wrong number.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/raw_com.h"

namespace raw {

class RawHost : public World {
public:
    RawHost();

    // The host channel the plug-in made n-th ("channel0", ...), as seen by
    // the host.
    struct Channel {
        std::map<int, VARIANT_BOOL> flags;  // by setter number
        std::string name, unit;
        LONG color = 0;
        LONG dataType = -1;
        LONG position = 0;
        std::vector<double> values = std::vector<double>(64);
        std::vector<double> times = std::vector<double>(64);
    };
    Channel& channel(const std::string& name) { return channels.at(name); }

    IUnknown* app() { return (*this)["app"].unknown(); }
    IUnknown* document() { return (*this)["document"].unknown(); }
    IUnknown* element() { return (*this)["element"].unknown(); }

    // What the host answers.
    LONG hostMode = 0;
    LONG major = 3, servicePack = 4;
    double hostTime = 0.0;
    LONG documentMode = 0;
    // The device the settings document holds (none when the port is empty).
    std::string deviceAddress = "127.0.0.1";
    std::string devicePort;

    std::map<std::string, Channel> channels;
    // The controls the toolkit's windows find by name.
    std::vector<std::string> controls;

private:
    void makeToolkit();
};

}  // namespace raw
