#include "sim/session.h"

#include <algorithm>
#include <chrono>

#include <boost/asio/write.hpp>

namespace vexa::sim {
namespace asio = boost::asio;
using boost::system::error_code;

namespace {

constexpr auto kTricklePause = std::chrono::milliseconds(2);
const Faults kNoFaults;

}  // namespace

Session::Session(asio::ip::tcp::socket socket, const SimConfig& config,
                 std::function<double()> clock)
    : socket_(std::move(socket)),
      pauseTimer_(socket_.get_executor()),
      config_(config),
      clock_(std::move(clock)),
      model_(config) {}

void Session::start() {
    readMore();
}

void Session::close() {
    hungUp_ = true;
    error_code ignored;
    pauseTimer_.cancel();
    socket_.close(ignored);
}

void Session::readMore() {
    socket_.async_read_some(asio::buffer(readBuffer_),
                            [self = shared_from_this()](const error_code& error, std::size_t n) {
                                if (error || self->hungUp_) return;
                                self->pending_.append(self->readBuffer_.data(), n);
                                self->takeCommands();
                                self->readMore();
                            });
}

// A command is a line: the device acts on nothing until its line feed
// comes, however long that takes (a "RUN " with no channels and no line
// feed is never answered).
void Session::takeCommands() {
    for (auto end = pending_.find('\n'); end != std::string::npos && !hungUp_;
         end = pending_.find('\n')) {
        const std::string command = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        handle(command);
    }
}

void Session::handle(const std::string& command) {
    const Faults& faults = config_.faults;
    const bool striking = !faults.phase || inPhase(*faults.phase, command);
    armed_ = armed_ || striking;
    if (armed_ && faults.stallAfter && answered_ >= *faults.stallAfter) return;  // heard, never answered
    if (armed_ && faults.closeAfter && answered_ >= *faults.closeAfter) {
        send({}, true, 0);
        return;
    }
    if (armed_) ++answered_;
    const Faults& now = striking ? faults : kNoFaults;
    DeviceModel::Reply reply = model_.answer(command, clock_(), now);
    if (reply.hangUpMidway) reply.bytes.resize(reply.bytes.size() / 2);
    send(std::move(reply.bytes), reply.hangUpMidway, now.tricklePiece);
}

void Session::send(Bytes bytes, bool hangUpAfter, std::size_t piece) {
    if (piece == 0 || bytes.size() <= piece) {
        outgoing_.push_back({std::move(bytes), piece != 0, hangUpAfter});
    } else {
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            const std::size_t end = std::min(bytes.size(), at + piece);
            const bool last = end == bytes.size();
            outgoing_.push_back({Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(end)),
                                 true, last && hangUpAfter});
        }
    }
    if (!writing_) writeNext();
}

void Session::writeNext() {
    if (outgoing_.empty() || hungUp_) {
        writing_ = false;
        return;
    }
    writing_ = true;
    asio::async_write(socket_, asio::buffer(outgoing_.front().bytes),
                      [self = shared_from_this()](const error_code& error, std::size_t) {
                          if (error) return self->close();
                          Chunk sent = std::move(self->outgoing_.front());
                          self->outgoing_.pop_front();
                          self->model_.recycle(std::move(sent.bytes));
                          if (sent.hangUpAfter) return self->close();
                          if (!sent.pauseAfter) return self->writeNext();
                          self->pauseTimer_.expires_after(kTricklePause);
                          self->pauseTimer_.async_wait([self](const error_code& e) {
                              if (!e) self->writeNext();
                          });
                      });
}

}  // namespace vexa::sim
