#include "report/atomic_output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/host_file.h"
#include "report/report_messages.h"

namespace kavlo::report {

std::string ErrorReason(int error) {
    switch (error) {
        case ENAMETOOLONG: return "the file name is too long";
        case ENOENT:
        case ENOTDIR: return "the folder does not exist";
        case EISDIR: return "it is a folder";
        case ELOOP: return "too many symbolic links";
        case EACCES:
        case EPERM: return "permission denied";
        case EROFS: return "the file system is read-only";
        case ENOSPC: return "no space left on the disk";
        default: return std::strerror(error);
    }
}

std::string SaveFailureMessage(int error, const std::string& path) {
    switch (error) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return std::string(kDiskFull);
        case EACCES:
        case EPERM:
        case EROFS:
        case EBUSY:
#ifdef ETXTBSY
        case ETXTBSY:
#endif
            return ReadOnlyMessage(path);
        default: return std::string(kFailedToSaveDocument);
    }
}

namespace {

namespace fs = std::filesystem;

/// The reason only where the message does not already say what is wrong.
std::string ReasonBeside(const std::string& message, int error) {
    return message == kFailedToSaveDocument ? ErrorReason(error) : std::string();
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

AtomicOutput::~AtomicOutput() { RemoveTemporary(); }

void AtomicOutput::RemoveTemporary() {
    file_.reset();
    if (!temp_.empty()) std::remove(temp_.c_str());
    temp_.clear();
}

FileOutcome AtomicOutput::Refuse(std::string message, std::string reason) {
    RemoveTemporary();
    return {false, std::move(message), std::move(reason), final_};
}

FileOutcome AtomicOutput::Open(const std::string& target, Targets targets) {
    target_ = target;
    const platform::HostTarget resolved = platform::ResolveHostTarget(target);
    final_ = resolved.path;
    if (resolved.error) return Abandon(resolved.error);
    switch (resolved.kind) {
        case platform::HostFileKind::Directory:
            return Refuse(std::string(kFailedToSaveDocument), Quoted(target) + " is a folder");
        case platform::HostFileKind::Unusable:
            return Refuse(std::string(kFailedToSaveDocument),
                          Quoted(target) + " is neither a file nor a device to write to");
        case platform::HostFileKind::Stream: {
            if (targets == Targets::RegularOnly)
                return Refuse(std::string(kFailedToSaveDocument),
                              Quoted(target) + " is a device or FIFO, not a regular file");
            // Replacing a device or FIFO by a file would destroy what the user named.
            inPlace_ = true;
            file_ = platform::OpenHostFile(final_, "wb");
            if (!file_) return Abandon(errno);
            return {true, {}, {}, final_};
        }
        case platform::HostFileKind::Regular: {
            // A read-only file is refused even where the system would let this
            // account write it or rename over it: the user marked it to be kept.
            if (!resolved.writable) return Refuse(ReadOnlyMessage(target), {});
            platform::FilePtr probe = platform::OpenHostFile(final_, "r+b");
            if (!probe) return Abandon(errno == ENOENT ? EIO : errno);
            break;
        }
        case platform::HostFileKind::Missing: {
            fs::path folder = fs::path(final_).parent_path();
            if (folder.empty()) folder = ".";
            std::error_code ec;
            const fs::file_status status = fs::status(folder, ec);
            if (status.type() == fs::file_type::not_found)
                return Refuse(std::string(kFailedToSaveDocument),
                              "the folder " + Quoted(folder.string()) + " does not exist");
            if (!ec && status.type() != fs::file_type::directory)
                return Refuse(std::string(kFailedToSaveDocument), Quoted(folder.string()) + " is not a folder");
            break;
        }
    }
    temp_ = platform::TempPathBeside(final_);
    file_ = platform::OpenHostFile(temp_, "wb");
    if (!file_) {
        const int error = errno;
        temp_.clear();  // never created
        return Abandon(error);
    }
    return {true, {}, {}, final_};
}

FileOutcome AtomicOutput::Abandon(int error) {
    const std::string message = SaveFailureMessage(error, target_);
    return Refuse(message, ReasonBeside(message, error));
}

FileOutcome AtomicOutput::Commit() {
    if (!file_) return Abandon(EBADF);
    if (inPlace_) {
        // Devices and FIFOs take no fsync; a failed flush or close still counts.
        errno = 0;
        if (std::fflush(file_.get()) != 0) return Abandon(errno ? errno : EIO);
        if (const int rc = platform::CloseHostFile(file_); rc != 0) return Abandon(rc);
        return {true, {}, {}, final_};
    }
    if (const int rc = platform::FlushHostFile(file_.get()); rc != 0) return Abandon(rc);
    if (const int rc = platform::CloseHostFile(file_); rc != 0) return Abandon(rc);
    if (const int rc = platform::ReplaceHostFile(temp_, final_); rc != 0) return Abandon(rc);
    temp_.clear();
    return {true, {}, {}, final_};
}

}  // namespace kavlo::report
