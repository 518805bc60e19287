// Answers messages of the message function without a window, in tests.
//
//   test::ScriptedAnswerer answerer({{kTipOk, kChoiceOk}});
//   ... code that shows messages ...
//   EXPECT_EQ(answerer.Requests()[0].text, L"...");
//
// Answers are given in order; once they run out every further message is
// answered with Cancel (end code 2, choice 0), which is also what closing a
// message box gives. Installed for the object's lifetime.
#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include "session/TipMessage.h"

namespace korv::test {

class ScriptedAnswerer {
public:
    explicit ScriptedAnswerer(std::deque<TipAnswer> answers = {}) : answers_(std::move(answers)) {
        previous_ = SetTipAnswerer([this](const TipRequest& request) { return Answer(request); });
    }
    ~ScriptedAnswerer() { SetTipAnswerer(previous_); }
    ScriptedAnswerer(const ScriptedAnswerer&) = delete;
    ScriptedAnswerer& operator=(const ScriptedAnswerer&) = delete;

    void Add(TipAnswer answer) {
        std::lock_guard<std::mutex> lock(lock_);
        answers_.push_back(answer);
    }

    std::vector<TipRequest> Requests() const {
        std::lock_guard<std::mutex> lock(lock_);
        return requests_;
    }

private:
    TipAnswer Answer(const TipRequest& request) {
        std::lock_guard<std::mutex> lock(lock_);
        requests_.push_back(request);
        if (answers_.empty()) {
            return {kTipCancel, kChoiceCancel};
        }
        TipAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    mutable std::mutex lock_;
    std::deque<TipAnswer> answers_;
    std::vector<TipRequest> requests_;
    TipPresenter previous_;
};

}  // namespace korv::test
