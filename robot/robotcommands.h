#pragma once
// The robot's commands over one KKhepera: set the wheel speeds (D), read the
// eight proximity sensors (N), read the two wheel speeds (E), and a raw
// command line typed by the user. None of them throws: failures are logged
// and reported by a false result with zeroed outputs.
#include <QString>

#include <cstdint>

class KKhepera;

// Sends "D,<left>,<right>\r". The speeds go out unchanged (callers limit
// them); whether the robot confirmed shows only in the log.
void CommandSetSpeed(KKhepera& khepera, int left, int right);

// Sends "N\r" and parses "n,%u,%u,%u,%u,%u,%u,%u,%u" into readings[0..7]
// (sensor 0 first). On any failure all eight readings are 0 and false is
// returned; a reply with the right letter but fewer than 8 values is not retried.
bool CommandProximity(KKhepera& khepera, uint32_t readings[8]);

// Sends "E\r" and parses "e,%d,%d" into the left and right wheel speeds.
// On failure both are 0 and false is returned.
bool CommandReadSpeed(KKhepera& khepera, int& left, int& right);

// Sends `text` followed by CR and logs "Received(<0|1>): '<buffer>'". Text
// that would not fit the line buffer with its CR and terminator is cut to
// KKhepera::LineBufferSize - 2 bytes first; characters outside Latin-1 are
// sent as '?'. Returns the outcome of the exchange.
bool SendRawCommand(KKhepera& khepera, const QString& text);

// The reply parsers, with scanf's rules: literals must match, each number
// may be preceded by white space, trailing text is ignored. They return the
// number of values converted (8 and 2 mean success); `reply` is terminated.
int ParseProximityReply(const char* reply, uint32_t readings[8]);
int ParseSpeedReply(const char* reply, int& left, int& right);
