#include "player/update/tests/update_test_server.h"

#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "testing/temp_dir.h"

namespace update_testing {
namespace {

bool run(const std::vector<std::string>& argv) {
    testing_support::ChildProcess child(argv);
    while (child.readLine(std::chrono::seconds(30))) {
    }
    const auto status = child.wait(std::chrono::seconds(30));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

}  // namespace

std::optional<TestCertificates> MakeTestCertificates(const std::filesystem::path& folder) {
    const auto at = [&](const char* name) { return (folder / name).string(); };
    TestCertificates made{at("ca.pem"), at("server.pem"), at("server.key")};
    testing_support::writeFile(at("server.ext"),
                               "subjectAltName=IP:127.0.0.1,DNS:localhost\n"
                               "basicConstraints=CA:FALSE\n");
    const std::string ec = "ec:";
    const bool ok =
        run({ZORVAN_OPENSSL, "ecparam", "-name", "prime256v1", "-out", at("ec.param")}) &&
        run({ZORVAN_OPENSSL, "req", "-x509", "-newkey", ec + at("ec.param"), "-nodes", "-keyout",
             at("ca.key"), "-out", made.caFile.string(), "-days", "2", "-subj",
             "/CN=Zorvan Test CA", "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
             "keyUsage=critical,keyCertSign,cRLSign"}) &&
        run({ZORVAN_OPENSSL, "req", "-newkey", ec + at("ec.param"), "-nodes", "-keyout",
             made.keyFile.string(), "-out", at("server.csr"), "-subj", "/CN=127.0.0.1"}) &&
        run({ZORVAN_OPENSSL, "x509", "-req", "-in", at("server.csr"), "-CA", made.caFile.string(),
             "-CAkey", at("ca.key"), "-CAcreateserial", "-out", made.certFile.string(), "-days",
             "2", "-extfile", at("server.ext")});
    if (!ok) return std::nullopt;
    return made;
}

UpdateTestServer::UpdateTestServer(const std::filesystem::path& folder,
                                   const std::string& pathsJson, const TestCertificates* tls)
    : log_(folder / "requests.log") {
    std::ostringstream config;
    config << "{\"timeout\": 120, \"log\": \"" << log_.string() << "\", ";
    if (tls)
        config << "\"tls\": {\"cert\": \"" << tls->certFile.string() << "\", \"key\": \""
               << tls->keyFile.string() << "\"}, ";
    config << "\"paths\": " << pathsJson << "}";
    const auto configFile = folder / "server.json";
    testing_support::writeFile(configFile, config.str());
    process_ = std::make_unique<testing_support::ChildProcess>(std::vector<std::string>{
        ZORVAN_PYTHON, ZORVAN_SOURCE_DIR "/player/update/tests/update_server.py",
        configFile.string()});
    const auto line = process_->readLine(std::chrono::seconds(20));
    if (!line || line->rfind("PORT ", 0) != 0)
        throw std::runtime_error("the update test server did not start: " + line.value_or(""));
    base_ = std::string(tls ? "https" : "http") + "://127.0.0.1:" + line->substr(5);
}

std::vector<std::string> UpdateTestServer::logColumn(int column) const {
    std::vector<std::string> values;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        values.push_back(column == 0 ? line.substr(0, tab)
                                     : (tab == std::string::npos ? "" : line.substr(tab + 1)));
    }
    return values;
}

std::vector<std::string> UpdateTestServer::Requests() const {
    return logColumn(0);
}

std::vector<std::string> UpdateTestServer::Agents() const {
    return logColumn(1);
}

}  // namespace update_testing
