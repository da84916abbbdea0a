// builtin_functions.cpp — placeholder: the functions land in their own change.
#include "core/builtin_functions.h"

#include "front/errors.h"

namespace core {

#define VORN_NOT_YET(name) \
  void name() { front::raise_error(front::Message::syntax); }
VORN_NOT_YET(int_function)
VORN_NOT_YET(abs_function)
VORN_NOT_YET(sqr_function)
VORN_NOT_YET(exp_function)
VORN_NOT_YET(log_function)
VORN_NOT_YET(sin_function)
VORN_NOT_YET(cos_function)
VORN_NOT_YET(tan_function)
VORN_NOT_YET(atn_function)
VORN_NOT_YET(chr_function)
VORN_NOT_YET(asc_function)
VORN_NOT_YET(mid_function)
VORN_NOT_YET(left_function)
VORN_NOT_YET(right_function)
VORN_NOT_YET(inkey_function)
VORN_NOT_YET(str_function)
VORN_NOT_YET(val_function)
VORN_NOT_YET(len_function)
VORN_NOT_YET(time_function)
VORN_NOT_YET(date_function)
VORN_NOT_YET(instr_function)
VORN_NOT_YET(rnd_function)
#undef VORN_NOT_YET

}  // namespace core
