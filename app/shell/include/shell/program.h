// The start and the end of the program.
#pragma once

#include <cstdint>
#include <string>

namespace px {

// Sets up the forms kit and the message-box hook, loads the drive table
// PXDRIVES.SYS of the current directory (the installation folder), loads
// the main menu and shows it. Returns false when the program has already
// ended (a failed start).
bool start_program();
// The program's message box, the hook start_program sets for the libraries'
// boxes: the text and caption in the system's code page, the style's
// buttons and icon; the answer as plat::message_box gives it.
int32_t ShowMessageBox(const std::string& text, const std::string& caption, uint32_t style);
// Ends the program with an exit code (after the forms are unloaded).
void QuitProgram(int code);
bool program_ended();
int program_exit_code();
// Makes a new start possible (tests).
void reset_program();
// Before the application object goes: every form still loaded is unloaded,
// what waits in the event queue (deferred deletes, queued calls) runs, and
// the windows left are deleted, so that nothing of the program's outlives
// the application it belongs to.
void close_application();
// Qt stops its own threads (the session bus connection's, the X event
// reader's, the pool's) as the application object and the libraries close;
// the bus thread only after main returns. A Qt thread's wait() returns before
// that thread has run its thread-specific destructors, which free its thread
// data. One that gets there only after Qt Core's own teardown has deleted
// their key (a thread held back on a busy machine) never frees it, and the
// leak check at exit reports it. Called first in main, before Qt starts a
// thread: the exit then waits, after Qt's teardown of its threads and before
// the libraries' teardown and the leak check, until every other thread of the
// process has ended.
void join_threads_at_exit();
// Waits until the calling thread is the only thread of the process (at most
// ten seconds, for a thread that is not Qt's and never ends).
void wait_for_other_threads();

}  // namespace px
