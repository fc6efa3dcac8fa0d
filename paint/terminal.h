// PIXODRAW: line input on raw file descriptors, the save dialogue and the session's end.
#ifndef PAINT_TERMINAL_H
#define PAINT_TERMINAL_H

#include <cstdint>
#include <string>
#include <vector>

#include "state.h"

#define GNL_READ_SIZE 14         // bytes asked of each read

// The next line read from fd, without its newline, newly allocated (release with free).
// A last line that ends without a newline is returned too; zero bytes are dropped. Null
// at the end of input, on a read error or when memory runs out. One read-ahead buffer
// shared by every fd.
char *get_next_line(int fd);
// One read of at most 14 bytes into buffer, which it ends with a zero byte; the count
// read, 0 at the end of input, -1 for a negative fd, a failed read or a stop signal
// (SIGINT, SIGTERM) received before or while it waits.
int32_t read_fd(int fd, char *buffer);
// Puts a zero byte at buffer[n]; the index of the first newline before it, or -1.
int32_t find_end_line(char *buffer, int32_t n);
// New string: line followed by at most n bytes of buffer's string. Releases line and
// removes n + 1 bytes (those bytes and their newline) from the front of buffer.
// Null (line released) when line is null or memory runs out.
char *my_gnl_strncat(char *line, char *buffer, int32_t n);
// Copies src to the front of dst (src may lie inside dst, after its start) and clears
// what is left of dst's old string; returns dst.
char *my_gnl_strdup(char *dst, const char *src);
// Bytes before the zero byte.
int32_t my_strlen(const char *s);
// Writes the string to standard output (nothing is reported if that fails).
void my_putstr(const char *s);
// 0 when equal, otherwise a - b of the first differing bytes taken as signed 8-bit values.
int32_t my_strcmp(const char *a, const char *b);
// Appends src to dst, which must have room; returns dst.
char *my_strcat(char *dst, const char *src);
// How the save dialogue ended.
typedef enum save_outcome
{
    SAVE_DONE,        // the canvas was saved
    SAVE_DECLINED,    // the answer was not yes (or there was no canvas)
    SAVE_UNANSWERED,  // the input ended (or failed) before a save succeeded
    SAVE_UNCLEAR      // the answer was neither exactly yes nor exactly no
} save_outcome;

// Asks on the terminal whether to save and under which name (".bmp" is appended), then
// saves the canvas safely (save_bmp_safely) and prints "pixodraw: saved PATH" on
// standard error. A failed save prints the path and the reason on standard error and
// asks for the name again; end of input at either question ends without saving.
save_outcome save_file(paint_state *state);
// Ctrl+S: saves the canvas as a numbered file in the working directory
// (save_bmp_numbered), or a document to its own file (document_save), and says where,
// or why not, on standard error. True when saved.
bool save_now(paint_state *state);
// Ctrl+E: starts exporting the drawing area as a numbered PNG file in the working
// directory (export_png_numbered) on a worker thread; export_finish says where, or why
// not, on standard error. False when there is no drawing.
bool export_now(paint_state *state);
// Ends the export under way once it is done (or, when `wait`, after waiting for it) and
// says where it went; true when a file was saved. Anything that changes the drawing
// waits for it first.
bool export_finish(paint_state *state, bool wait);
// Keeps a canvas that would otherwise be lost: saves it as a numbered file in the
// working directory, else in $HOME, else in $TMPDIR (or /tmp), and says where on
// standard error. False, after saying why on standard error, when no folder took it.
bool save_recovery(paint_state *state);
// After the window closed: the save dialogue (none after a stop signal), then a recovery
// file when the canvas changed since its last save and the dialogue ended without a
// clear answer, then the journal is removed. The exit status: 128 plus the stop signal's
// number after one, else 0, or 1 when the drawing could be neither saved nor kept.
int end_session(paint_state *state);
// The folders a recovery file or a journal may go to, in order: the working directory,
// $HOME, $TMPDIR (or /tmp).
std::vector<std::string> recovery_folders(void);

// Makes SIGINT and SIGTERM only note their arrival (no SA_RESTART, so waiting reads end).
void install_stop_signals(void);
// The number of the stop signal received, or 0.
int stop_signal(void);
// Waits until fd has input (or its end, or an error): true; false once a stop signal
// has arrived, before or during the wait.
bool wait_for_input(int fd);
// Handles --help, -h, --version and unknown options (usage on standard output, or an
// error on standard error). -1 when the program goes on, else the exit status (0 or
// 2). *operand_count receives the number of arguments that are not options (after a
// "--", all are), *picture the first of them (null when none).
int read_command_line(int argc, char **argv, const char **picture, int *operand_count);
// True when the option is among the arguments before a "--".
bool command_line_has(int argc, char **argv, const char *option);
// The picture on the clipboard as new pixels (malloc), and the name
// clipboard-YYYYMMDD-HHMMSS.png (local time) that Ctrl+S gives it; null when the clipboard
// holds no picture (vollo_error says why).
uint32_t *clipboard_picture(char *path, size_t room, uint32_t *width, uint32_t *height);

#endif
