#include "device/block_reader.h"

#include <algorithm>
#include <cstring>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "device/command_link.h"

namespace vexa::protocol {
namespace {

// Maps the pages of fresh storage in one call instead of one fault each: on
// a virtual machine a fault can cost ten microseconds, and a block's first
// receive would then take longer than the data in it took to arrive, which
// makes the next block larger still. Harmless where unsupported.
void populate([[maybe_unused]] std::uint8_t* storage, [[maybe_unused]] std::size_t bytes) noexcept {
#ifdef __linux__
    constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE, Linux 5.14
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = (reinterpret_cast<std::uintptr_t>(storage) + page - 1) & ~(page - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(storage) + bytes) & ~(page - 1);
    if (first < last) madvise(reinterpret_cast<void*>(first), last - first, kPopulateWrite);
#endif
}

// Copies the part of `received` (stream bytes from `at` on) that falls into
// the `length` stream bytes from `start` on, to the same place in `target`.
void keepOverlap(const std::uint8_t* received, std::uint64_t at, std::size_t count, std::uint64_t start,
                 std::size_t length, std::uint8_t* target) {
    const std::uint64_t from = std::max(at, start);
    const std::uint64_t to = std::min(at + count, start + length);
    if (from < to) std::memcpy(target + (from - start), received + (from - at), static_cast<std::size_t>(to - from));
}

}  // namespace

BlockReader::Block BlockReader::read(CommandLink& link, std::uint32_t count, std::size_t recordBytes) {
    const std::uint64_t total = std::uint64_t{count} * recordBytes;
    if (CommandLink::gatherRoom(total) <= memoryBound_) return gatherWhole(link, static_cast<std::size_t>(total), recordBytes);
    return readPast(link, total, recordBytes);
}

BlockReader::Block BlockReader::gatherWhole(CommandLink& link, std::size_t total, std::size_t recordBytes) {
    std::uint8_t* storage = reserve(CommandLink::gatherRoom(total), total);
    const std::size_t received = link.gatherInto(storage, total);
    Block block;
    block.records = {storage, received - received % recordBytes};
    block.first = storage;
    block.last = storage + total - recordBytes;
    return block;
}

// The block is received in chunks into the same storage and dropped; only
// its first and last announced records are kept. Exactly the announced bytes
// are read: a device that sends more leaves the rest in the stream, where
// the next count reply shows it as malformed.
BlockReader::Block BlockReader::readPast(CommandLink& link, std::uint64_t total, std::size_t recordBytes) {
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, std::max<std::uint64_t>(memoryBound_, 1)));
    std::uint8_t* received = reserve(chunk + 2 * recordBytes, chunk + 2 * recordBytes);
    std::uint8_t* first = received + chunk;
    std::uint8_t* last = first + recordBytes;
    const std::uint64_t lastStart = total - recordBytes;
    const CommandLink::Deadline deadline = link.replyDeadline(total);
    for (std::uint64_t done = 0; done < total;) {
        if (done > 0) link.checkDeadline(deadline, total);
        const auto ask = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, total - done));
        const std::size_t count = link.receiveSome(received, ask);
        keepOverlap(received, done, count, 0, recordBytes, first);
        keepOverlap(received, done, count, lastStart, recordBytes, last);
        done += count;
    }
    Block block;
    block.first = first;
    block.last = last;
    block.dropped = true;
    return block;
}

std::uint8_t* BlockReader::reserve(std::size_t bytes, std::size_t used) {
    if (bytes <= capacity_) return storage_.get();
    // Twice what is asked: blocks vary from step to step, grow while a host
    // catches up, and each growth is an allocation of fresh memory. Never
    // past the bound, unless asked. Only what is written gets mapped.
    const std::uint64_t roomy = std::min<std::uint64_t>(std::uint64_t{bytes} * 2, memoryBound_);
    const auto size = static_cast<std::size_t>(std::max<std::uint64_t>(bytes, roomy));
    release();
    storage_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    capacity_ = size;
    populate(storage_.get(), used);
    return storage_.get();
}

void BlockReader::release() noexcept {
    storage_.reset();
    capacity_ = 0;
}

}  // namespace vexa::protocol
