#pragma once
// Every file the program writes (reports, compressed reports, exports) goes
// through one routine: the bytes go to a temporary file beside the target, are
// flushed to disk, and the temporary is renamed over the target only when the
// write is complete. Only a regular file is ever replaced: a symbolic link is
// followed to the file it names, a character device or FIFO is written in place,
// and folders, block devices, sockets and read-only files are refused.

#include <cstdio>
#include <string>

#include "platform/host_file.h"

namespace kavlo::report {

/// Success, or the message that tells the user what went wrong.
struct FileOutcome {
    bool ok = true;
    std::string message;  ///< the program's own text ("Failed to save document.", ...)
    std::string reason;   ///< why, in plain words, when the message alone does not say it
    std::string path;     ///< after a save: where the bytes went (symbolic links followed)
};

/// The reason for an errno value, in plain words ("the file name is too long").
std::string ErrorReason(int error);

class AtomicOutput {
public:
    enum class Targets {
        RegularOnly,  ///< refuse devices and FIFOs (the output is read back or renamed later)
        StreamsToo,   ///< write character devices and FIFOs in place
    };

    AtomicOutput() = default;
    ~AtomicOutput();  ///< removes a temporary file that was not committed
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    /// Checks the target and opens the file to write: a new temporary beside the
    /// file the target names, or the device or FIFO itself.
    FileOutcome Open(const std::string& target, Targets targets);

    std::FILE* file() const { return file_.get(); }
    /// The file being written: the temporary, or the device written in place.
    const std::string& writingPath() const { return inPlace_ ? final_ : temp_; }
    /// The file the output replaces: the target with its symbolic links followed.
    const std::string& finalPath() const { return final_; }

    /// Flushes the data to disk, closes the file and renames it over the target.
    FileOutcome Commit();
    /// Gives the output up after a write failure with that errno value; the target stays as it was.
    FileOutcome Abandon(int error);

private:
    FileOutcome Refuse(std::string message, std::string reason);
    void RemoveTemporary();

    std::string target_;  // as the caller named it, for messages
    std::string final_;
    std::string temp_;
    platform::FilePtr file_;
    bool inPlace_ = false;
};

/// The message for a failed write of `path` with an errno value: disk full,
/// read-only or in use, or the general save failure.
std::string SaveFailureMessage(int error, const std::string& path);

}  // namespace kavlo::report
