/*
 * zrk880.h: drive a ZR-K880TM colour camera from your own program.
 *
 * The library speaks the camera's serial protocol through the same core as the
 * ZR-K880TM Control panel and zrk880ctl: the same settings, range checks,
 * settings files and look-up table walks. Link with -lzrk880
 * (pkg-config zrk880, or find_package(zrk880) and the target zrk880::zrk880).
 *
 * Results. Every function that can fail returns a zrk880_result: ZRK880_OK (0)
 * or an error code. After a failure zrk880_last_error() gives the message the
 * panel would show in its box ("There is no [ACK]", "PORT isn't open.",
 * "Setting value is out of range", "Port Open Error", ...). Nothing is ever
 * shown or printed, and no call aborts the program.
 *
 * Handles and threads. zrk880_open() gives one handle per camera. Several
 * handles may be used at the same time from different threads. Calls on one
 * handle from several threads are serialised: each waits for the one before
 * it. Every call returns only once its exchanges with the camera have ended.
 *
 * Callbacks run while the call that caused them (or the link's own thread)
 * holds the handle: they must not call functions of this library for any
 * handle (such a call fails with ZRK880_ERR_INPUT) and should return quickly.
 *
 * Settings are named by their script names (the list of `zrk880ctl names`,
 * such as "gain_level" or "temperature") or by their row numbers as text
 * ("6"). Values are whole numbers; the temperature is in tenths of a degree.
 */
#ifndef ZRK880_H
#define ZRK880_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ZRK880_API __attribute__((visibility("default")))
#else
#define ZRK880_API
#endif

/* The library's version, "1.1.2.0" say. */
ZRK880_API const char* zrk880_version(void);

/* ---- Results ------------------------------------------------------------ */

typedef enum zrk880_result {
    ZRK880_OK = 0,
    /* The camera did not answer or the link refused the command:
       "There is no [ACK]", "There is no [ANSWER DATA]", "PORT isn't open." */
    ZRK880_ERR_LINK = 1,
    /* A value outside the setting's range; nothing was sent:
       "Setting value is out of range". */
    ZRK880_ERR_RANGE = 2,
    /* Bad input: a NULL pointer, an unknown setting, a malformed command text
       or settings file, a call from inside a callback. Nothing was sent. */
    ZRK880_ERR_INPUT = 3,
    /* The port could not be opened: held by another program ("Port Open
       Error"), missing, an unsupported line speed, a library that does not load. */
    ZRK880_ERR_PORT = 4,
    /* A file could not be read or written; the message names it and why. */
    ZRK880_ERR_FILE = 5,
    /* Not a handle of an open camera (closed already, or never opened). */
    ZRK880_ERR_HANDLE = 6,
    /* The buffer given is too small; the size needed has been stored. */
    ZRK880_ERR_BUFFER = 7,
    /* The progress callback stopped a look-up table walk. */
    ZRK880_ERR_CANCELLED = 8,
    /* Something failed inside the library (out of memory, no thread to be had). */
    ZRK880_ERR_INTERNAL = 9,
} zrk880_result;

/* The message of the calling thread's last failed call, "" after a call that
   succeeded. Valid until the thread's next call into the library. */
ZRK880_API const char* zrk880_last_error(void);

/* A short name for a result code ("ZRK880_ERR_LINK"); never NULL. */
ZRK880_API const char* zrk880_result_name(int result);

/* ---- Opening and closing ------------------------------------------------- */

typedef struct zrk880_camera zrk880_camera;

/*
 * Opens a camera. The route says how it is reached:
 *   "COM3"           a COM port, resolved as the panel does (the entry COM3 in
 *                    the folder $ZRK880_PORT_DIR, else the built-in mapping)
 *   "/dev/ttyUSB0"   a serial device by its path
 *   "clall:0"        serial index 0 of the common Camera Link serial library
 *                    (clallserial); "clall" alone is index 0
 *   "cllib:/path/libmaker.so"  port 0 of a frame grabber maker's library; a
 *                    route ending in ".so" or ".dll" is taken as one too
 *   "rfc2217://line7-pc:4001"  a network serial port with RFC 2217 (the line
 *                    speed set through the server); "socket://HOST:PORT" one
 *                    over raw TCP (the line set at the server)
 * baud is the line speed (9600, 19200, 38400 or 115200); a maker's library
 * keeps its own. On success *camera holds the new handle.
 */
ZRK880_API int zrk880_open(const char* route, int baud, zrk880_camera** camera);

/* Closes the link and frees the handle, after any call still running on it.
   NULL is accepted and does nothing. */
ZRK880_API int zrk880_close(zrk880_camera* camera);

/* ---- Settings ------------------------------------------------------------- */

/* What the parameter table says about one setting. name points into the
   library and stays valid for its lifetime. */
typedef struct zrk880_setting {
    int row;
    const char* name;
    int32_t min_value;
    int32_t max_value;
    int32_t default_value;
} zrk880_setting;

/* Number of rows in the table; rows 0..ZRK880_USER_SETTINGS-1 are the user
   settings a snapshot holds. */
#define ZRK880_ROWS 102
#define ZRK880_USER_SETTINGS 53

/* Looks up a setting by name or row text. No camera needed. */
ZRK880_API int zrk880_setting_info(const char* name_or_row, zrk880_setting* info);
/* The name of a row, or NULL for a row with no setting (or out of 0..ZRK880_ROWS-1). */
ZRK880_API const char* zrk880_setting_name(int row);

/* Reads a setting from the camera. */
ZRK880_API int zrk880_get(zrk880_camera* camera, const char* name_or_row, int32_t* value);

/* Writes a setting after the panel's range check. The memory and factory
   setting commands are refused here: use zrk880_load_memory,
   zrk880_save_memory and zrk880_factory_setting. */
ZRK880_API int zrk880_set(zrk880_camera* camera, const char* name_or_row, int32_t value);

/* Sends a command text as the Manual Command window does, e.g. "010C550000".
   For a read (the first digit 8 or above) the answer's three data bytes are
   stored in answer and *answered is set to 1; for a write *answered is 0.
   answer and answered may be NULL. */
ZRK880_API int zrk880_command(zrk880_camera* camera, const char* text, uint8_t answer[3],
                              int* answered);

/* ---- Identity ------------------------------------------------------------- */

/* The camera's identity texts as the adjustment window reads them: the
   registers' bytes up to the first zero byte, each array ending in a zero. */
typedef struct zrk880_identity_texts {
    char vendor[17];
    char model[17];
    char serial_number[9];
    char cpu_version[6];  /* "1.002" */
    char fpga_version[6]; /* "01.05" */
} zrk880_identity_texts;

/* Reads the identity texts, in the adjustment window's order (up to 24
   reads). A failed read ends its own text only: the result is the first
   failure, and a text that could not be read is left empty. */
ZRK880_API int zrk880_identity(zrk880_camera* camera, zrk880_identity_texts* texts);

/* ---- Snapshots: the settings file of the panel and zrk880ctl ------------- */

typedef enum zrk880_format {
    ZRK880_FORMAT_JSON = 0,
    ZRK880_FORMAT_CSV = 1,
} zrk880_format;

/* Reads the user settings and writes them as a settings file into buffer.
   *size holds the buffer's size on entry and the text's length on return
   (not counting the terminating zero, which is written too). With a buffer
   too small (or NULL) the result is ZRK880_ERR_BUFFER and *size the length
   needed: call again with at least *size + 1 bytes (which reads the camera
   again). ZRK880_SNAPSHOT_SIZE bytes always hold a snapshot. */
#define ZRK880_SNAPSHOT_SIZE 16384
ZRK880_API int zrk880_snapshot(zrk880_camera* camera, zrk880_format format, char* buffer,
                               size_t* size);
/* The same into a file (CSV when the name ends in .csv, else JSON). A file
   that was there stays whole if the write fails. */
ZRK880_API int zrk880_snapshot_file(zrk880_camera* camera, const char* path);

/* Writes the settings of a settings file's text to the camera in row order.
   The whole text is checked (names, rows, ranges, camera model) before
   anything is sent. *written (may be NULL) gets the number of settings written. */
ZRK880_API int zrk880_restore(zrk880_camera* camera, const char* text, size_t length, int* written);
ZRK880_API int zrk880_restore_file(zrk880_camera* camera, const char* path, int* written);

/* One setting whose camera value differs from the file's. */
typedef struct zrk880_difference {
    int row;
    const char* name;
    int32_t camera_value;
    int32_t file_value;
    int32_t default_value;
} zrk880_difference;

/* Compares the camera with a settings file's text, over the settings restore
   writes (the memory and factory setting rows are passed over, so a camera
   just restored from a file never differs from it). differences may be NULL
   when *count is 0. On entry *count is the array's capacity; on return it is
   the number of differences (0: the camera holds the file's settings). With
   more differences than room, the first *count are stored and the result is
   ZRK880_ERR_BUFFER with *count set to the number found. ZRK880_USER_SETTINGS
   entries are always enough. */
ZRK880_API int zrk880_compare(zrk880_camera* camera, const char* text, size_t length,
                              zrk880_difference* differences, size_t* count);
ZRK880_API int zrk880_compare_file(zrk880_camera* camera, const char* path,
                                   zrk880_difference* differences, size_t* count);

/* ---- Setting memories ------------------------------------------------------ */

/* memory: 0 DEFAULT, 1..4 FILE 1..4. Loading reads the settings back. */
ZRK880_API int zrk880_load_memory(zrk880_camera* camera, int memory);
/* memory: 1..4 (FILE 1..4). */
ZRK880_API int zrk880_save_memory(zrk880_camera* camera, int memory);
/* Returns the camera to its factory setting (no question asked) and reads
   the settings back. */
ZRK880_API int zrk880_factory_setting(zrk880_camera* camera);

/* ---- Look-up tables ---------------------------------------------------------- */

/* Three channels (red, green, blue) of 256 entries each, one after the other:
   table[channel * 256 + entry]. */
#define ZRK880_LUT_SIZE (3 * 256)

/* Called after every entry read or written: done of total entries, and the
   entry's channel (0 red, 1 green, 2 blue). Return 0 to go on, anything else
   to stop the walk after that entry (ZRK880_ERR_CANCELLED). */
typedef int (*zrk880_progress_fn)(int done, int total, int channel, void* user);

/* Reads the camera's tables, entry by entry as the editor's READ does. On a
   failure or a stop the entries read so far are in table, the rest as they
   were. progress may be NULL. */
ZRK880_API int zrk880_lut_read(zrk880_camera* camera, uint8_t table[ZRK880_LUT_SIZE],
                               zrk880_progress_fn progress, void* user);
/* Writes all three tables, as the editor's WRITE does with every channel shown. */
ZRK880_API int zrk880_lut_write(zrk880_camera* camera, const uint8_t table[ZRK880_LUT_SIZE],
                                zrk880_progress_fn progress, void* user);

/* The editor's table file (three lines of 256 comma-separated values). Loading
   checks the whole file (values 0..255) and changes table only when it is good. */
ZRK880_API int zrk880_lut_load_csv(const char* path, uint8_t table[ZRK880_LUT_SIZE]);
ZRK880_API int zrk880_lut_save_csv(const char* path, const uint8_t table[ZRK880_LUT_SIZE]);

/* ---- Link trace and messages --------------------------------------------- */

/* One line of the link trace, as the panel's Link Trace window shows it. The
   texts are valid during the callback only. */
typedef struct zrk880_trace_line {
    uint32_t ms;           /* since the port was opened */
    const char* direction; /* "->" to the camera, "<-" from it, "" for the link's own */
    const char* hex;       /* the bytes, "02 30 31 ..." */
    const char* text;      /* the same bytes as characters, '.' for the unprintable */
    const char* meaning;   /* "write gain_level = 120", "ACK, answer 00 07 00: ...", ... */
    int round_trip_ms;     /* on the line that ends an exchange, else -1 */
} zrk880_trace_line;

typedef void (*zrk880_trace_fn)(const zrk880_trace_line* line, void* user);

/* Installs (or with NULL removes) the trace callback. It is called on the
   link's thread or the calling thread, one line at a time, in order. */
ZRK880_API int zrk880_set_trace(zrk880_camera* camera, zrk880_trace_fn trace, void* user);

/* Every message box the panel would have shown, as it happens: its caption
   and text, and whether it is a question (which the library answers Yes: the
   call asked for the operation). For a program that logs them; failures are
   reported through the results as well. Called on the calling thread or the
   link's. NULL removes it. */
typedef void (*zrk880_message_fn)(const char* caption, const char* text, int question, void* user);
ZRK880_API int zrk880_set_message_callback(zrk880_camera* camera, zrk880_message_fn message,
                                           void* user);

/* zrk880_open with the message callback in place from the start, so that it
   also sees the messages of a failed opening. */
ZRK880_API int zrk880_open_with_messages(const char* route, int baud, zrk880_message_fn message,
                                         void* user, zrk880_camera** camera);

#ifdef __cplusplus
}
#endif

#endif /* ZRK880_H */
