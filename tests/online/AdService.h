// The local stand-in advertisement service (tools/adservice/adservice.py),
// as the tests see it: its ports, the base address of a reply case, the
// journal of what it received, and its test certificate authority.
//
// The ctest fixture "adservice" starts it and passes its state folder in
// KORV_ADSERVICE (a Linux path; the tests read it through Wine's Z: drive).
// Every test names its requests with a token of its own, so tests running at
// the same time never read each other's journal entries.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace korv::test {

class AdService {
public:
    AdService() {
        char folder[1024] = {};
        DWORD length = GetEnvironmentVariableA("KORV_ADSERVICE", folder, sizeof(folder));
        if (length == 0 || length >= sizeof(folder)) {
            return;
        }
        state_ = "Z:" + std::string(folder, length);
        for (char& c : state_) {
            if (c == '/') {
                c = '\\';
            }
        }
        std::ifstream ports(state_ + "\\ports.json");
        if (ports) {
            ports_ = nlohmann::json::parse(ports, nullptr, false);
        }
    }

    bool Running() const { return ports_.is_object() && ports_.contains("http"); }
    std::string State() const { return state_; }

    int Port(const char* listener) const { return ports_.value(listener, 0); }

    // The base address that makes the service answer with `replyCase`,
    // on the listener (http, https, https_expired, ...).
    std::wstring Base(const char* listener, const std::string& token, const std::string& replyCase) const {
        std::string scheme = std::string(listener).rfind("https", 0) == 0 ? "https" : "http";
        std::string text =
            scheme + "://127.0.0.1:" + std::to_string(Port(listener)) + "/" + token + "/" + replyCase;
        return std::wstring(text.begin(), text.end());
    }

    // What the service noted for `token`, oldest first.
    std::vector<nlohmann::json> Journal(const std::string& token) const {
        std::vector<nlohmann::json> entries;
        std::ifstream file(state_ + "\\journal.jsonl");
        std::string line;
        while (std::getline(file, line)) {
            nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
            if (entry.is_object() && entry.value("token", "") == token) {
                entries.push_back(entry);
            }
        }
        return entries;
    }

    // Waits (up to a minute) for the entry of `token` that carries an
    // outcome: the service notes it when a held reply ends. Null if none.
    nlohmann::json Outcome(const std::string& token) const {
        for (int i = 0; i < 600; ++i) {
            for (const auto& entry : Journal(token)) {
                if (entry.contains("outcome")) {
                    return entry;
                }
            }
            Sleep(100);
        }
        return nullptr;
    }

    // Adds the service's test authority to the machine root store of this
    // Wine prefix (the test's own; the Linux machine's trust store is never
    // touched), so HTTPS with a certificate it issued is trusted.
    bool TrustTestAuthority() const {
        std::ifstream file(state_ + "\\ca.der", std::ios::binary);
        std::string der((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (der.empty()) {
            return false;
        }
        HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
        if (root == nullptr) {
            return false;
        }
        BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING,
                                                      reinterpret_cast<const BYTE*>(der.data()),
                                                      static_cast<DWORD>(der.size()), CERT_STORE_ADD_USE_EXISTING,
                                                      nullptr);
        CertCloseStore(root, 0);
        return added != FALSE;
    }

private:
    std::string state_;
    nlohmann::json ports_;
};

// A token no other test (or earlier run) uses.
inline std::string UniqueToken(const char* tag) {
    static int counter = 0;
    return std::string(tag) + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()) +
           "-" + std::to_string(counter++);
}

}  // namespace korv::test
