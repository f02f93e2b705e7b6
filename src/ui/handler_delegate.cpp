#include "ui/handler_delegate.h"

namespace Nerova::Kite {

namespace {

constexpr std::uint64_t fnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr std::uint64_t fnvPrime = 0x100000001b3ull;

void addWord(std::uint64_t& hash, std::uint64_t word) noexcept {
    for (int byte = 0; byte < 8; ++byte) {
        hash ^= (word >> (8 * byte)) & 0xFFu;
        hash *= fnvPrime;
    }
}

}  // namespace

std::uint64_t identityHash(std::uint64_t functionAddress, std::uint64_t objectAddress) noexcept {
    std::uint64_t hash = fnvOffsetBasis;
    addWord(hash, functionAddress);
    addWord(hash, objectAddress);
    return hash;
}

}  // namespace Nerova::Kite
