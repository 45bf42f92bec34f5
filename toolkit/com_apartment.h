#pragma once

namespace toolkit {

// The calling thread's single-threaded COM apartment, opened on first need (Open) and closed
// when its owner goes, on the thread that opened it. ole32 is loaded only by Open.
class ComApartment {
  public:
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment();

    // Opens the apartment unless this owner already has. False when COM refuses, for example
    // because the thread is already in a multithreaded apartment: callers carry on without
    // one, and nothing is closed for it later.
    bool Open() noexcept;

  private:
    bool open_ = false;
};

}  // namespace toolkit
