// Whether a window still exists, as the handlers it gave the toolkit see
// it. The toolkit keeps a window's handlers and timers as long as it likes
// (windows never take their handlers back, and a timer cannot be stopped),
// so each handler holds a watch on its window's token and does nothing
// once the token is gone.
#pragma once

#include <memory>

namespace Nerova::Kite {

class LifeToken {
public:
    LifeToken() = default;
    ~LifeToken() { *alive_ = false; }
    LifeToken(const LifeToken&) = delete;
    LifeToken& operator=(const LifeToken&) = delete;

    // True while the token lives.
    std::shared_ptr<const bool> watch() const { return alive_; }

private:
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace Nerova::Kite
