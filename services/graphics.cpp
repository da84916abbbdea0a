// graphics.cpp — placeholder until the picture and its statements land.
#include "services/graphics.h"

#include "front/errors.h"

namespace services {

int pset_statement() { front::raise_error(front::Message::syntax); }
int cls_statement() { front::raise_error(front::Message::syntax); }
int line_statement() { front::raise_error(front::Message::syntax); }
int locate_statement() { front::raise_error(front::Message::syntax); }
int box_statement() { front::raise_error(front::Message::syntax); }
int boxf_statement() { front::raise_error(front::Message::syntax); }
int circle_statement() { front::raise_error(front::Message::syntax); }
int circlef_statement() { front::raise_error(front::Message::syntax); }
int image_statement() { front::raise_error(front::Message::syntax); }

}  // namespace services
