// Shared by the replacement and commit sources: the temporaries' names, the
// step hook and the removal of temporaries that dead processes left behind.
#pragma once

#include <string>

namespace pxall {

// A temporary is "<file>.~pxdrom<process>-<serial>", both numbers in
// digits: a name no other program makes, so that a sweep of a folder the
// clerk chose touches nothing else. No dot follows the mark, so no
// work-file pattern ("*.TMP") matches it. A commit journal is
// "<first file>.~jnl"; the temporaries it names begin "<file>.~".
constexpr const char* kTwinMark = ".~";
constexpr const char* kTwinTag = ".~pxdrom";
constexpr const char* kJournalSuffix = ".~jnl";

// The folder of a host path ("." for a bare name).
std::string dir_of(const std::string& host);
// The renames of a folder (host path) reach the disk; a folder that refuses
// to be synced (some file systems do) has still got them.
void sync_dir(const std::string& dir);
// The test hook's verdict on a step: 0 or the C error number to fail with.
int write_step(const char* step, const std::string& host);
// The failure atomic_fail_next_commits asked for, once per commit: its C
// error number, or 0.
int injected_failure();
// A new temporary's name beside target (host path).
std::string twin_name(const std::string& target);
// True while a staged stream or a commit being built in this process holds
// that temporary.
bool twin_is_staged(const std::string& host);
// Marks a temporary (host path) as held by a commit being built, or no longer.
void reserve_twin(const std::string& host, bool held);

// Finishes the interrupted commits whose journals lie in the folder of
// target, then removes the temporaries that processes no longer running
// left in that folder (of any file: a kill leaves them beside files that
// may never be written again).
void sweep_stale_twins_of(const std::string& target);

}  // namespace pxall
