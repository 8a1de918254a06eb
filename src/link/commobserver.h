// What the port object tells an observer (the session trace): every write with what it returned,
// and every read with what came back. The observer only looks; it never changes the transfer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::link {

class CComm;

class CommObserver {
public:
    virtual ~CommObserver() = default;
    // A write begins (its bytes may take a while: the pauses of the send come after this).
    virtual void beforeWrite(const CComm& comm) { (void)comm; }
    // `result` is what WriteBytes returns (0: the write failed).
    virtual void onWrite(const CComm& comm, const std::uint8_t* data, std::size_t count, int result) = 0;
    // `got` bytes of `data` arrived (0: nothing came).
    virtual void onRead(const CComm& comm, const std::uint8_t* data, int got) = 0;
};

}  // namespace velmora::link
