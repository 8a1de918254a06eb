// A print spooler in memory: queues with port strings, and failures a test can switch on.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/spooler.h"

namespace velmora::testing {

class FakeSpooler : public platform::PrintSpooler {
public:
    void add(const std::string& name, const std::string& port) { queues.push_back({name, port}); }
    std::string portOf(const std::string& name) const {
        for (const auto& q : queues)
            if (q.printerName == name) return q.portName;
        return {};
    }

    std::vector<Queue> enumerate() override { return queues; }
    std::optional<Handle> open(const std::string& name) override {
        if (cannotOpen.count(name)) return std::nullopt;
        for (std::size_t i = 0; i < queues.size(); ++i)
            if (queues[i].printerName == name) {
                ++opens;
                return static_cast<Handle>(i);
            }
        return std::nullopt;
    }
    SizeResult querySize(Handle h, std::size_t& size) override {
        size = 256;
        return sizeFails.count(queues[h].printerName) ? SizeResult::Failed : SizeResult::InsufficientBuffer;
    }
    std::optional<Queue> read(Handle h) override { return queues[h]; }
    bool write(Handle h, const Queue& info) override {
        writes.push_back(info.printerName + "=" + info.portName);
        queues[h].portName = info.portName;
        return true;
    }
    void close(Handle) override { ++closes; }

    std::vector<Queue> queues;
    std::set<std::string> cannotOpen;
    std::set<std::string> sizeFails;
    std::vector<std::string> writes;
    int opens = 0;
    int closes = 0;
};

}  // namespace velmora::testing
