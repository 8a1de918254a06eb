// CUPS as the simulator's client, as an integrator sets it up: a raw queue on
// socket://127.0.0.1:PORT, a job of several labels sent through the scheduler, and the labels the
// simulator printed from it.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <variant>

#include "sim/labelrecord.h"
#include "sim/printer.h"
#include "sim/server.h"
#include "support/cupsd.h"

namespace velmora::testing {
namespace {

// Sends `bytes` to the queue as one raw document (a Print-Job request, as `lp -o raw` makes);
// the job id, 0 when the scheduler refused it.
int printRaw(const Cupsd& cupsd, const std::string& queue, const std::string& bytes) {
    char file[] = "/tmp/velmora-job-XXXXXX";
    const int fd = mkstemp(file);
    if (fd < 0) return 0;
    const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    http_t* http = httpConnect2("127.0.0.1", static_cast<int>(cupsd.port()), nullptr, AF_INET,
                                HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr);
    int id = 0;
    if (written && http) {
        ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                         queue.c_str());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                     CUPS_FORMAT_RAW);
        ipp_t* response = cupsDoFileRequest(http, request, ("/printers/" + queue).c_str(), file);
        if (ipp_attribute_t* a = ippFindAttribute(response, "job-id", IPP_TAG_INTEGER))
            id = ippGetInteger(a, 0);
        ippDelete(response);
    }
    if (http) httpClose(http);
    unlink(file);
    return id;
}

// The job's state as the scheduler reports it; 0 when it cannot be asked.
int jobState(const Cupsd& cupsd, const std::string& queue, int id) {
    http_t* http = httpConnect2("127.0.0.1", static_cast<int>(cupsd.port()), nullptr, AF_INET,
                                HTTP_ENCRYPTION_NEVER, 1, 2000, nullptr);
    if (!http) return 0;
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(http, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ALL);
    int state = 0;
    for (int i = 0; i < n; ++i) {
        if (jobs[i].id == id) state = jobs[i].state;
    }
    cupsFreeJobs(n, jobs);
    httpClose(http);
    return state;
}

// Waits up to 20 s for `done`, looking every 20 ms: the scheduler and its backend are processes
// of their own, so there is no clock of the test's to move.
template <typename Done>
bool waitFor(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string firstText(const sim::LabelRecord& record) {
    for (const sim::LabelField& field : record.fields) {
        if (const auto* text = std::get_if<sim::ZiiTextField>(&field)) return text->data;
    }
    return {};
}

TEST(CupsQueueToSimulator, ARawJobOfSeveralLabelsPrintsEachOfThem) {
    if (Cupsd::program().empty())
        GTEST_SKIP() << "cupsd is not installed (Debian package cups; scripts/install-deps)";

    sim::Printer printer;
    sim::Server simulator(printer);
    const unsigned port = simulator.startTcp(0);
    ASSERT_NE(port, 0u) << simulator.error();

    Cupsd cupsd;
    std::string why;
    ASSERT_TRUE(cupsd.start(queue("labels", "socket://127.0.0.1:" + std::to_string(port)), why)) << why;

    // As label software sends a job: a format per label, one of them in two copies, and a status
    // query in the stream whose answer goes back to the backend.
    std::string job = "~HS\r\n";
    for (int label = 1; label <= 3; ++label) {
        job += "^XA^FO40,40^A0N,40,40^FDLabel " + std::to_string(label) + "^FS" + (label == 2 ? "^PQ2" : "") +
               "^XZ\r\n";
    }
    const int id = printRaw(cupsd, "labels", job);
    ASSERT_GT(id, 0) << cupsLastErrorString() << "; cupsd says:\n" << cupsd.log();

    ASSERT_TRUE(waitFor([&] { return printer.printedLabels().size() >= 3; }))
        << printer.printedLabels().size() << " labels; cupsd says:\n"
        << cupsd.log();
    const auto labels = printer.printedLabels();
    ASSERT_EQ(labels.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(labels[i].language, sim::LabelLanguage::Zii);
        EXPECT_EQ(firstText(labels[i]), "Label " + std::to_string(i + 1));
        EXPECT_EQ(labels[i].quantity, i == 1 ? 2 : 1);
    }
    EXPECT_TRUE(waitFor([&] { return jobState(cupsd, "labels", id) == IPP_JSTATE_COMPLETED; }))
        << "job state " << jobState(cupsd, "labels", id) << "; cupsd says:\n"
        << cupsd.log();
}

}  // namespace
}  // namespace velmora::testing
