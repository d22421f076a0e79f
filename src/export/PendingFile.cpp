// Temporary files that take their target's name when complete.
#include "export/PendingFile.h"

#include "platform/Failure.h"
#include "platform/FileSystem.h"

PendingFile::PendingFile(FileSystem& fs, std::string target) : fs_(fs), target_(std::move(target)) {
    // A name another program (or an earlier run cut short by a power cut) left there is not ours to
    // remove: the next free one is taken instead.
    temporary_ = target_ + ".part";
    for (int n = 2; n <= 100 && fs_.Exists(temporary_); ++n) temporary_ = target_ + ".part" + std::to_string(n);
    out_ = fs_.CreateNew(temporary_);
}

PendingFile::~PendingFile() { Discard(); }

void PendingFile::PutInPlace(bool replace) {
    out_->Finish();  // closes it too: Windows renames no file that is open
    fs_.Move(temporary_, target_, replace);
    gone_ = true;
}

std::string PendingFile::Discard() {
    if (gone_) return "";
    out_.reset();
    try {
        fs_.Remove(temporary_);
    } catch (const Failure& f) {
        return f.what();
    }
    gone_ = true;
    return "";
}
