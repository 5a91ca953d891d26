#pragma once

// A mutex that clang's thread-safety analysis can follow, since libstdc++'s std::mutex carries
// no capability marks. Shared state names the lock that guards it (GUARDED_BY), a function the
// lock it must be called with (REQUIRES), and the native clang builds, which pass
// -Wthread-safety with warnings as errors, prove every access holds it. Other compilers see
// plain code.

#include <mutex>

#if defined(__clang__)
#define TAPWISE_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define TAPWISE_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) TAPWISE_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY TAPWISE_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) TAPWISE_THREAD_ANNOTATION(guarded_by(x))
#define REQUIRES(...) TAPWISE_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define EXCLUDES(...) TAPWISE_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define ACQUIRE(...) TAPWISE_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) TAPWISE_THREAD_ANNOTATION(release_capability(__VA_ARGS__))

namespace platform {

class CAPABILITY("mutex") Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void lock() ACQUIRE() { mutex_.lock(); }
  void unlock() RELEASE() { mutex_.unlock(); }

 private:
  std::mutex mutex_;
};

// Holds a Mutex for a scope. It can be let go and taken again inside the scope, and it is what
// a std::condition_variable_any waits with.
class SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
  ~MutexLock() RELEASE() {
    if (held_) mutex_.unlock();
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  void unlock() RELEASE() {
    mutex_.unlock();
    held_ = false;
  }
  void lock() ACQUIRE() {
    mutex_.lock();
    held_ = true;
  }

 private:
  Mutex& mutex_;
  bool held_ = true;
};

}  // namespace platform
