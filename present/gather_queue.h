#pragma once
// One gathering at a time: a selection made while a title is being gathered
// waits for that gathering to end and then starts its own. Only the latest
// waiting selection is kept; earlier ones were replaced by the user.

#include <optional>

namespace kavlo::ui {

template <typename Request>
class GatherQueue {
public:
    /// A new selection; true when it may start now, false when it waits.
    bool Submit(Request request) {
        if (running_) {
            waiting_ = std::move(request);
            return false;
        }
        running_ = true;
        return true;
    }

    /// The running gathering ended; the waiting selection to start now, if any
    /// (it then counts as running).
    std::optional<Request> Finish() {
        running_ = false;
        if (!waiting_) return std::nullopt;
        std::optional<Request> next = std::move(waiting_);
        waiting_.reset();
        running_ = true;
        return next;
    }

    /// Forgets the waiting selection (for example when the document changes).
    void DropWaiting() { waiting_.reset(); }

    bool running() const { return running_; }
    bool hasWaiting() const { return waiting_.has_value(); }

private:
    bool running_ = false;
    std::optional<Request> waiting_;
};

}  // namespace kavlo::ui
