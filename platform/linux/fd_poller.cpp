#include "platform/linux/fd_poller.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

FdPoller::FdPoller() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

FdPoller::~FdPoller() {
  if (wakeFd_ >= 0) close(wakeFd_);
}

void FdPoller::Wake() {
  std::uint64_t one = 1;
  // A full counter still wakes the poll; nothing else can go wrong that a retry would mend.
  [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

int FdPoller::Add(int fd, std::function<bool()> onReadable) {
  if (fd < 0 || !onReadable) return 0;
  int id = nextId_++;
  watches_[id] = {fd, std::move(onReadable)};
  return id;
}

void FdPoller::Remove(int watchId) { watches_.erase(watchId); }

int FdPoller::Wait(int primaryFd, int timeoutMs, bool* primaryReadable) {
  std::vector<pollfd> fds;
  std::vector<int> ids;
  fds.push_back(pollfd{primaryFd, POLLIN, 0});
  fds.push_back(pollfd{wakeFd_, POLLIN, 0});
  for (const auto& [id, watch] : watches_) {
    fds.push_back(pollfd{watch.first, POLLIN, 0});
    ids.push_back(id);
  }
  if (primaryReadable) *primaryReadable = false;
  int n = poll(fds.data(), fds.size(), timeoutMs);
  ++wakeups_;
  if (n <= 0) return 0;  // time-out, or EINTR: the caller looks again
  if (fds[1].revents & POLLIN) {
    std::uint64_t count;
    [[maybe_unused]] ssize_t r = read(wakeFd_, &count, sizeof count);
  }
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (!(fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    auto it = watches_.find(ids[i]);  // an earlier callback may have removed it
    if (it == watches_.end()) continue;
    auto callback = it->second.second;
    if (!callback()) watches_.erase(ids[i]);
  }
  if (primaryReadable) *primaryReadable = (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
  return n;
}

}  // namespace platform
