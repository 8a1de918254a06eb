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
    // A write handed over piece by piece (CComm::WriteFromSource): each piece as it goes, then
    // the end with the whole count and the result, in place of onWrite.
    virtual void onWritePiece(const CComm& comm, const std::uint8_t* data, std::size_t n) {
        (void)comm;
        (void)data;
        (void)n;
    }
    virtual void onWriteEnd(const CComm& comm, std::size_t count, int result) {
        (void)comm;
        (void)count;
        (void)result;
    }
    // `got` bytes of `data` arrived (0: nothing came).
    virtual void onRead(const CComm& comm, const std::uint8_t* data, int got) = 0;
};

}  // namespace velmora::link
