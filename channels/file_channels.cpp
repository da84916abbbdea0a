// file_channels.cpp — placeholder until the channel statements land.
#include "channels/file_channels.h"

#include "front/errors.h"

namespace channels {

int open_statement() { front::raise_error(front::Message::syntax); }
int close_statement() { front::raise_error(front::Message::syntax); }
void input_function() { front::raise_error(front::Message::syntax); }
void eof_function() { front::raise_error(front::Message::syntax); }
void netstat_function() { front::raise_error(front::Message::syntax); }

}  // namespace channels
