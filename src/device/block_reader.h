// One device's measurement blocks, received into storage the device keeps
// from one data step to the next: once an acquisition has run a few steps
// a block costs no allocation, and its bytes land where they are decoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace vexa::protocol {

class CommandLink;

class BlockReader {
public:
    // The most storage a block may take. A block is received with room for
    // twice its announced size (every receive asks for all of it), so
    // blocks up to half of this, 256 MiB, are gathered whole: 1.8 s of a
    // 32-channel device at 1 MHz, 2.5 s of 256 channels at 100 kHz. A
    // larger backlog is read past in chunks instead and its values dropped,
    // so that one device that fell far behind cannot exhaust the host's
    // memory; the device stays connected and in step.
    static constexpr std::uint64_t kMemoryBound = std::uint64_t{512} << 20;
    // Bytes asked for by each receive while a block is read past: large
    // enough that the receives cost little, small against the bound.
    static constexpr std::size_t kChunkBytes = std::size_t{4} << 20;

    struct Block {
        // Every whole record received: the announced ones and any the device
        // sent beyond them. Empty when the block was dropped.
        std::span<const std::uint8_t> records;
        // The first and the last announced record, kept either way: they set
        // the time origin and the clock pair of the step.
        const std::uint8_t* first = nullptr;
        const std::uint8_t* last = nullptr;
        bool dropped = false;
    };

    BlockReader() = default;
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // Receives the block of `count` (at least 1) records of `recordBytes`
    // each that the device sends after RMB?. What it returns points into
    // the reader's storage and holds until the next read or release.
    Block read(CommandLink& link, std::uint32_t count, std::size_t recordBytes);
    // Gives the storage back; the next read allocates again.
    void release() noexcept;

    std::uint64_t memoryBound() const noexcept { return memoryBound_; }
    // For tests, which cannot send hundreds of MiB: a smaller bound.
    void setMemoryBound(std::uint64_t bytes) noexcept { memoryBound_ = bytes; }
    // Bytes of storage held now.
    std::size_t capacity() const noexcept { return capacity_; }

private:
    // At least `bytes` of storage, keeping what it holds only if it fits;
    // the first `used` bytes are about to be written.
    std::uint8_t* reserve(std::size_t bytes, std::size_t used);
    Block gatherWhole(CommandLink& link, std::size_t total, std::size_t recordBytes);
    Block readPast(CommandLink& link, std::uint64_t total, std::size_t recordBytes);

    std::uint64_t memoryBound_ = kMemoryBound;
    std::unique_ptr<std::uint8_t[]> storage_;
    std::size_t capacity_ = 0;
};

}  // namespace vexa::protocol
