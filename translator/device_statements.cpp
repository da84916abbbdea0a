// device_statements.cpp — pass 2 of the channel, graphics and system
// statements. The target has no graphics or programs: those statements are
// written all the same and then reported as not implemented.
#include "machine/errors.h"
#include "machine/lexer.h"
#include "machine/value_stack.h"
#include "translator/code_writers.h"
#include "translator/translation.h"

using machine::lexer;
using base::Message;

namespace translator {
namespace {

// The lines of one graphics statement that differ between the statements.
struct GraphicsForm {
  bool optional_first_point;  // line: the first point may be left out
  bool second_point;          // all but pset
  const char* clear[5];       // before each of the five arguments
  const char* default_colour;
  int colour_element;
  const char* call;
  base::Message note;
};

constexpr GraphicsForm pset_form = {
    false, false,
    {"  clear_value\n", "  clear_value\n", nullptr, nullptr, "    clear_value\n"},
    "  1, __points!(2)=\n", 2, "  __points, bas_pset\n", base::Message::note_pset};
constexpr GraphicsForm line_form = {
    true, true,
    {"    clear_value;\n", "    clear_value\n", "  clear_value\n", "  clear_value\n", "    clear_value\n"},
    "  1, __points!(4)=\n", 4, "  __points, bas_line\n", base::Message::note_line};
constexpr GraphicsForm box_form = {
    false, true,
    {"  clear_value\n", "  clear_value\n", "  clear_value();\n", "  clear_value\n", "    clear_value\n"},
    "  1, __points!(4)=\n", 4, "  __points, bas_box\n", base::Message::note_box};
constexpr GraphicsForm boxf_form = {
    false, true,
    {"  clear_value\n", "  clear_value\n", "  clear_value\n", "    clear_value\n", "    clear_value\n"},
    "  1, __points!(4)=\n", 4, "  __points, bas_boxf\n", base::Message::note_boxf};
constexpr GraphicsForm circle_form = {
    false, true,
    {"  clear_value\n", "  clear_value\n", "  clear_value\n", "  clear_value\n", "    clear_value\n"},
    "  1, __points!(4)=\n", 4, "  __points, bas_circle\n", base::Message::note_circle};
constexpr GraphicsForm circlef_form = {
    false, true,
    {"  clear_value();\n", "  clear_value\n", "  clear_value();\n", "  clear_value\n", "    clear_value();\n"},
    "  1, __points!(4)=\n", 4, "  __points, bas_circlef\n", base::Message::note_circlef};

// One argument: its clear line, its code, and the store into __points!(element).
void write_point_argument(const char* clear, int element, const char* store) {
  output_print(clear);
  translate_expression();
  output_print(store, {element});
}

constexpr const char* store_line = "  get_number __points!(%d)=\n";
// The first point of line is stored with four blanks.
constexpr const char* deep_store_line = "    get_number __points!(%d)=\n";

// (x1, y1) [- (x2, y2)] [, colour]
int translate_graphics(const GraphicsForm& form) {
  bool first_point = !form.optional_first_point || at_punct('(');
  if (form.optional_first_point && first_point)
    pass2_next();
  else if (!form.optional_first_point)
    pass2_expect("(");
  if (first_point) {
    const char* store = form.optional_first_point ? deep_store_line : store_line;
    write_point_argument(form.clear[0], 0, store);
    pass2_expect(",");
    write_point_argument(form.clear[1], 1, store);
    pass2_expect(")");
  }
  if (form.second_point) {
    pass2_expect("-");
    pass2_expect("(");
    write_point_argument(form.clear[2], 2, store_line);
    pass2_expect(",");
    write_point_argument(form.clear[3], 3, store_line);
    pass2_expect(")");
  }
  if (at_punct(',')) {
    pass2_next();
    write_point_argument(form.clear[4], form.colour_element, store_line);
  } else {
    output_print(form.default_colour);
  }
  output_print(form.call);
  if (form.second_point) {
    // The end point becomes the start of the next line, box or circle.
    output_print("  __points!(2), __points!(0)=\n");
    output_print("  __points!(3), __points!(1)=\n");
  }
  output_print("  update\n");
  report_diagnostic(form.note);
  return machine::go_on;
}

// program [, arguments] — start and exec differ in their target word only
int translate_launch(const char* call, base::Message note) {
  translate_expression();
  output_print(" get_string __tmp1!=\n");
  output_print(" \"\", __sbuf, strcpy\n");
  if (at_punct(',')) {
    pass2_next();
    translate_expression();
    output_print(" get_string __tmp2!=\n");
    output_print(" __tmp2!, __sbuf, strcpy\n");
    output_print(" __tmp2!, free\n");
  }
  output_print(call);
  output_print(" __tmp1!, free\n");
  report_diagnostic(note);
  return machine::go_on;
}

}  // namespace

// open name for input|output as #n — its checks end make
int open_translation() {
  output_print("  clear_value\n");
  translate_expression();
  output_print("  get_string __tmp1!=\n");
  output_print("  __tmp1!, __sbuf, strcpy\n");
  output_print("  __tmp1!, free\n");
  machine::expect_token("for");
  bool write = lexer.is("output");
  if (!write && !lexer.is("input")) machine::raise_error(Message::syntax);
  machine::next_token();
  machine::expect_token("as");
  machine::expect_token("#");
  if (lexer.token_kind != machine::TK_NUMBER) machine::raise_error(Message::syntax);
  std::int32_t n = machine::to_int32(lexer.token_value);
  if (n < 0 || n >= limits::channel_count) machine::raise_error(Message::out_of_range);
  machine::next_token();
  output_print("  if Xfd!(%d)<>ERROR then \"%s\", prints nl\n",
               {n, base::message_text(Message::file_already_open)});
  if (write) {
    output_print("  __sbuf, wopen Xfd!(%d)=\n", {n});
    output_print("  if Xfd!(%d)=ERROR then \"%s\", prints nl\n",
                 {n, base::message_text(Message::cannot_open_write)});
  } else {
    output_print("  __sbuf, ropen Xfd!(%d)=\n", {n});
    output_print("  if Xfd!(%d)=ERROR then \"%s\", prints nl\n",
                 {n, base::message_text(Message::cannot_open_read)});
  }
  return machine::go_on;
}

// close [#n] — without a channel every handle cell 0..15 is closed
int close_translation() {
  if (at_punct('#')) {
    pass2_next();
    std::int32_t n = literal_integer();
    if (n >= 0 && n < limits::channel_count) {
      output_print("  if Xfd!(%d)<>ERROR then Xfd!(%d), close\n", {n, n});
      output_print("  ERROR, Xfd!(%d)=\n", {n});
    }
    pass2_next();
    return machine::go_on;
  }
  output_print("  for __tmp1!=0 to 15\n");
  output_print("    if Xfd!(__tmp1!)<>ERROR then Xfd!(__tmp1!), close\n");
  output_print("    ERROR, Xfd!(__tmp1!)=\n");
  output_print("  next __tmp1!\n");
  return machine::go_on;
}

// locate x, y
int locate_translation() {
  output_print("  clear_value\n");
  translate_expression();
  output_print("  get_number __tmp1!=\n");
  pass2_expect(",");
  output_print("  clear_value\n");
  translate_expression();
  output_print("  get_number __tmp2!=\n");
  output_print("  __tmp1!, __tmp2!, locate\n");
  return machine::go_on;
}

// wait milliseconds
int wait_translation() {
  output_print("  clear_value\n");
  translate_expression();
  output_print("  get_number sleep\n");
  return machine::go_on;
}

// pset (x, y) [, colour]
int pset_translation() { return translate_graphics(pset_form); }
// line [(x1, y1)] - (x2, y2) [, colour]
int line_translation() { return translate_graphics(line_form); }
// box (x1, y1) - (x2, y2) [, colour]
int box_translation() { return translate_graphics(box_form); }
// boxf (x1, y1) - (x2, y2) [, colour]
int boxf_translation() { return translate_graphics(boxf_form); }
// circle (x1, y1) - (x2, y2) [, colour]
int circle_translation() { return translate_graphics(circle_form); }
// circlef (x1, y1) - (x2, y2) [, colour]
int circlef_translation() { return translate_graphics(circlef_form); }

// image (x, y), file
int image_translation() {
  pass2_expect("(");
  write_point_argument("  clear_value\n", 0, store_line);
  pass2_expect(",");
  write_point_argument("  clear_value\n", 1, store_line);
  pass2_expect(")");
  pass2_expect(",");
  output_print("  clear_value\n");
  translate_expression();
  output_print("  get_string __tmp1!=\n");
  output_print("  __tmp1!, __points, bas_image;\n");
  output_print(" __tmp1!, free\n");
  output_print("  update\n");
  report_diagnostic(base::Message::note_image);
  return machine::go_on;
}

// start program [, arguments]
int start_translation() { return translate_launch(" __tmp1!, __tmp2, bas_start\n", base::Message::note_start); }
// exec program [, arguments]
int exec_translation() { return translate_launch(" __tmp1!, __tmp2, bas_exec\n", base::Message::note_exec); }

// regist extension, program
int regist_translation() {
  output_print("  clear_value\n");
  translate_expression();
  output_print("  get_string __tmp1!=\n");
  pass2_expect(",");
  output_print("  clear_value\n");
  translate_expression();
  output_print(" get_string __tmp2!=\n");
  output_print("  __tmp1!, __tmp2!, bas_regist;\n");
  output_print(" __tmp1!, free\n");
  output_print(" __tmp2!, free\n");
  report_diagnostic(base::Message::note_regist);
  return machine::go_on;
}

}  // namespace translator
