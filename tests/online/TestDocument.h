// A document type of the tests' own for the system's web browser.
//
// The browser shows a page through the document object registered for the
// page's MIME type; for text/html that is the HTML engine, which this Wine
// has not (no Gecko). Without a document the browser fetches the page but
// never reports it complete. This type ("application/x-korvanix-test",
// served by the stand-in service under /TOKEN/testdoc/) gives the real
// browser a document that loads at once, so the real navigation, binding
// and DocumentComplete event of the browser run. It renders nothing.
//
// A TestDocumentType object registers the class for this process and the
// MIME type in the test prefix's registry, and removes both again.
#pragma once

#include <windows.h>

namespace korv::test {

class TestDocumentType {
public:
    static constexpr const wchar_t* kMimeType = L"application/x-korvanix-test";

    TestDocumentType();
    ~TestDocumentType();
    TestDocumentType(const TestDocumentType&) = delete;
    TestDocumentType& operator=(const TestDocumentType&) = delete;

    bool Registered() const { return registered_; }

private:
    DWORD cookie_ = 0;
    bool registered_ = false;
};

}  // namespace korv::test
