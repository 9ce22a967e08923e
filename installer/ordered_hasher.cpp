#include "installer/ordered_hasher.h"

#include <cstring>

COrderedHasher::~COrderedHasher() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    abandon_ = true;
  }
  changed_.notify_all();
  StopHelper();
}

void COrderedHasher::StopHelper() {
  if (helper_.joinable()) helper_.join();
}

void COrderedHasher::Start(const KwrBase::HashProv& provider) {
  hash_.Create(provider.Handle());
  buffers_.clear();
  free_.clear();
  for (std::size_t i = 0; i < kBufferCount; ++i) {
    buffers_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize));
    free_.push_back(i);
  }
  helper_ = std::thread([this] { Run(); });
}

void COrderedHasher::Submit() {
  filled_.push_back({current_, currentLength_});
  filling_ = false;
  currentLength_ = 0;
  changed_.notify_all();
}

void COrderedHasher::Feed(const void* data, std::size_t size) {
  const auto* in = static_cast<const std::uint8_t*>(data);
  std::unique_lock<std::mutex> lock(mutex_);
  while (size > 0) {
    if (error_) std::rethrow_exception(error_);
    if (!filling_) {
      changed_.wait(lock, [&] { return !free_.empty() || error_; });
      if (error_) std::rethrow_exception(error_);
      current_ = free_.back();
      free_.pop_back();
      filling_ = true;
    }
    std::size_t n = std::min(size, kBufferSize - currentLength_);
    // The helper never touches the buffer being filled, so the copy needs no lock.
    std::uint8_t* target = buffers_[current_].get() + currentLength_;
    lock.unlock();
    std::memcpy(target, in, n);
    lock.lock();
    currentLength_ += n;
    in += n;
    size -= n;
    if (currentLength_ == kBufferSize) Submit();
  }
}

std::vector<std::uint8_t> COrderedHasher::Finish() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (filling_ && currentLength_ > 0) Submit();
    noMoreData_ = true;
  }
  changed_.notify_all();
  StopHelper();
  if (error_) std::rethrow_exception(error_);
  return hash_.GetHash();
}

void COrderedHasher::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return abandon_ || !filled_.empty() || noMoreData_; });
    if (abandon_ || filled_.empty()) return;  // dropped, or everything hashed
    Filled next = filled_.front();
    filled_.pop_front();
    lock.unlock();
    std::exception_ptr failure;
    try {
      hash_.HashData(buffers_[next.buffer].get(), static_cast<std::uint32_t>(next.length));
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    free_.push_back(next.buffer);
    if (failure) {
      error_ = failure;
      filled_.clear();
      changed_.notify_all();
      return;
    }
    changed_.notify_all();
  }
}
