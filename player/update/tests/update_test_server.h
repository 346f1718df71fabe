#pragma once
// A loopback update server (update_server.py) for the life of the object, and a test
// certificate authority made with openssl for https.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "testing/child_process.h"

namespace update_testing {

// A certificate authority and a server certificate for 127.0.0.1 signed by it.
struct TestCertificates {
    std::filesystem::path caFile;
    std::filesystem::path certFile;
    std::filesystem::path keyFile;
};
// Made in `folder`; nothing when openssl is missing or fails.
std::optional<TestCertificates> MakeTestCertificates(const std::filesystem::path& folder);

class UpdateTestServer {
public:
    // `pathsJson` is the script's "paths" object; `folder` holds the configuration and
    // the request log.
    UpdateTestServer(const std::filesystem::path& folder, const std::string& pathsJson,
                     const TestCertificates* tls = nullptr);

    // "http://127.0.0.1:<port>", or https.
    std::string Base() const { return base_; }
    std::string Url(const std::string& path) const { return base_ + path; }
    // The paths asked for, in order, and the agents that asked.
    std::vector<std::string> Requests() const;
    std::vector<std::string> Agents() const;

private:
    std::vector<std::string> logColumn(int column) const;

    std::filesystem::path log_;
    std::unique_ptr<testing_support::ChildProcess> process_;
    std::string base_;
};

}  // namespace update_testing
