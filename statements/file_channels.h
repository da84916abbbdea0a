// file_channels.h — open, close, input$ and eof on the channel table.
#pragma once

namespace statements {

int open_statement();   // open name for input|output as #n  (net:/server: names too)
int close_statement();  // close [#n]
void input_function();  // input$(count [, [#]channel])
void eof_function();    // eof(channel)
void netstat_function();

}  // namespace statements
