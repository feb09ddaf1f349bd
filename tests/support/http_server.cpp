#include "support/http_server.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace qv5::test {
namespace {

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

HttpServer::HttpServer() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "qv5httpXXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        ADD_FAILURE() << "mkdtemp failed";
        return;
    }
    dir_ = tmpl;
    int out[2];
    if (pipe(out) != 0) {
        ADD_FAILURE() << "pipe failed";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string script = QV5_HTTP_SERVER;
    char* argv[] = {const_cast<char*>("python3"), script.data(), dir_.data(), nullptr};
    if (posix_spawnp(&pid_, "python3", &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    port_ = std::atoi(line.c_str());
    if (pid_ < 0 || port_ <= 0) ADD_FAILURE() << "the test HTTP server did not start";
}

HttpServer::~HttpServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
}

std::string HttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpServer::SetMode(const std::string& mode) const {
    Write(dir_ + "/mode", mode);
}

void HttpServer::SetBody(const std::string& body) const {
    Write(dir_ + "/body", body);
}

void HttpServer::Serve(const std::string& path, const std::string& body,
                       const std::string& how) const {
    std::filesystem::path file = dir_ + "/files" + path + (path.ends_with('/') ? "index" : "");
    std::filesystem::create_directories(file.parent_path());
    Write(file.string(), body);
    Write(file.string() + ".how", how);
}

std::string HttpServer::Log() const {
    std::ifstream in(dir_ + "/log", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace qv5::test
