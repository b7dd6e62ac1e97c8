// The server of the program's runs (run_open_from_server.sh): publishes a
// structure file until the run tells it to stop, closing the connection
// halfway through its first reply to the request QZ_SERVE_CUT_REPLY names
// when it names one. Skipped in a plain test run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/core/FourCC.h"
#include "tests/network/TestServer.h"

TEST(ServedStructure, IsPublishedUntilTheRunEnds)
{
    const char* structure = std::getenv("QZ_SERVE_STRUCTURE");
    const char* portFile = std::getenv("QZ_SERVE_PORT_FILE");
    const char* stopFile = std::getenv("QZ_SERVE_STOP_FILE");
    if (!structure || !portFile || !stopFile) GTEST_SKIP() << "serves the program's runs";
    TestServerConfig config;
    config.files = {{7, platform::FourCC("BAS5"), "Demo"}};
    config.structureCopy = structure;
    if (const char* cut = std::getenv("QZ_SERVE_CUT_REPLY"); cut && *cut) {
        config.fault = ServerFault::CloseMidReply;
        config.faultCode = int16_t(std::atoi(cut));
    }
    TestServer server;
    ASSERT_TRUE(server.Start(config));
    // Whole or absent: the run reads the port as soon as the file is there.
    const std::string partial = std::string(portFile) + ".part";
    std::ofstream(partial) << server.Port() << "\n";
    std::filesystem::rename(partial, portFile);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(110);
    while (!std::filesystem::exists(stopFile) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}
