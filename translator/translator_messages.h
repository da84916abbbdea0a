// translator_messages.h — the texts only the translator prints: warnings about
// what the target language lacks, and its own diagnostics. Written here in
// UTF-8 and handed out in Shift-JIS, like the interpreter's catalogue.
#pragma once
#include <string_view>

namespace translator {

#define VORN_TRANSLATOR_NOTES(X)                                            \
  X(sign_on_string, "文字列に符号をつけることはできません")                  \
  X(power, "べき乗演算は実装されていません")                                 \
  X(sqr, "sqr関数は実装されていません")                                      \
  X(exp, "exp関数は実装されていません")                                      \
  X(log, "log関数は実装されていません")                                      \
  X(sin, "sin関数は実装されていません")                                      \
  X(cos, "cos関数は実装されていません")                                      \
  X(tan, "tan関数は実装されていません")                                      \
  X(atn, "atn関数は実装されていません")                                      \
  X(time, "time$関数は実装されていません")                                   \
  X(date, "data$関数は実装されていません")                                   \
  X(rnd, "rnd関数は実装されていません")                                      \
  X(netstat, "netstat関数は実装されていません")                              \
  X(stop_ignored, "STOP文は無視されます")                                    \
  X(next_needs_variable, "コンパイルするときはnext命令の後に変数をつけて下さい") \
  X(pset, "pset命令は未実装です")                                            \
  X(line, "line命令は未実装です")                                            \
  X(box, "box命令は未実装です")                                              \
  X(boxf, "boxf命令は未実装です")                                            \
  X(circle, "circle命令は未実装です")                                        \
  X(circlef, "circlef命令は未実装です")                                      \
  X(image, "image命令は未実装です")                                          \
  X(start, "start命令は未実装です")                                          \
  X(exec, "exec命令は未実装です")                                            \
  X(regist, "regist命令は未実装です")

enum class Note {
#define VORN_NOTE_ID(id, text) id,
  VORN_TRANSLATOR_NOTES(VORN_NOTE_ID)
#undef VORN_NOTE_ID
};

// The text in Shift-JIS.
std::string_view note_text(Note note);

}  // namespace translator
