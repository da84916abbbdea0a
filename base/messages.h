// messages.h — the catalogue of the interpreter's messages.
// The texts are written here in UTF-8 and handed out in Shift-JIS, the
// system's code page, exactly as the console and files show them.
#pragma once
#include <string_view>

namespace base {

#define VORN_MESSAGES(X)                                                              \
  X(syntax, "文法エラーです")                                                          \
  X(type_mismatch, "型が不正です")                                                     \
  X(out_of_range, "コマンド、関数または配列のパラメータが定義域から外れています")       \
  X(not_direct, "ダイレクト実行できません")                                             \
  X(cannot_execute, "実行できません")                                                  \
  X(break_, "Break")                                                                   \
  X(bad_hex, "16進数表記が間違っています")                                              \
  X(bad_octal, "8進数表記が間違っています")                                             \
  X(bad_real, "実数表記が間違っています")                                               \
  X(save_failed, "セーブ失敗しました")                                                  \
  X(load_failed, "ロード失敗しました")                                                  \
  X(system_error, "システムエラーが発生しました、速やかにリセットして下さい")           \
  X(bad_expression, "数式が不正です")                                                  \
  X(variable_not_found, "変数が見つかりません")                                         \
  X(array_overflow, "配列のサイズをオーバーしました")                                   \
  X(too_many_dimensions, "配列の次元が大きすぎます")                                    \
  X(array_exists, "その配列は既に存在しています")                                       \
  X(string_too_long, "文字列が長すぎます")                                              \
  X(division_by_zero, "ゼロで割ることはできません")                                     \
  X(label_not_found, "ラベルが見つかりません")                                          \
  X(for_overflow, "for-nextのネストオーバーです")                                       \
  X(next_without_for, "for文なしでnext文は実行できません")                              \
  X(gosub_overflow, "gosub用スタックがオーバーフローしました")                          \
  X(return_without_gosub, "gosub文無しにreturn文を実行することはできません")           \
  X(file_not_open, "ファイルが開いていません")                                          \
  X(log_zero, "log関数の引数がゼロです")                                                \
  X(file_already_open, "ファイルはすでに開かれています")                                \
  X(cannot_open_write, "ファイルを開くことができません(write)")                         \
  X(cannot_open_read, "ファイルを開くことができません(read)")                           \
  X(bad_port, "ポート番号が不正です")                                                  \
  X(no_socket, "ソケットを作成できません")                                             \
  X(host_not_found, "ホストが見つかりません")                                           \
  X(resolve_failed, "ホスト名解決に失敗しました")                                       \
  X(connect_failed, "接続できません(connect)")                                         \
  X(bind_failed, "接続できません(bind)")                                               \
  X(listen_failed, "接続できません(listen)")                                           \
  X(accept_failed, "接続できません(accept)")                                           \
  X(image_unreadable, "イメージファイルが読みこめません")                              \
  X(compiler_output, "コンパイラの出力ファイルを開くことができません")                  \
  X(not_in_program, "プログラム中では実行できません")                                   \
  /* what the translator says of what its target lacks */                             \
  X(note_sign_on_string, "文字列に符号をつけることはできません") \
  X(note_power, "べき乗演算は実装されていません") \
  X(note_sqr, "sqr関数は実装されていません") \
  X(note_exp, "exp関数は実装されていません") \
  X(note_log, "log関数は実装されていません") \
  X(note_sin, "sin関数は実装されていません") \
  X(note_cos, "cos関数は実装されていません") \
  X(note_tan, "tan関数は実装されていません") \
  X(note_atn, "atn関数は実装されていません") \
  X(note_time, "time$関数は実装されていません") \
  X(note_date, "data$関数は実装されていません") \
  X(note_rnd, "rnd関数は実装されていません") \
  X(note_netstat, "netstat関数は実装されていません") \
  X(note_stop_ignored, "STOP文は無視されます") \
  X(note_next_needs_variable, "コンパイルするときはnext命令の後に変数をつけて下さい") \
  X(note_pset, "pset命令は未実装です") \
  X(note_line, "line命令は未実装です") \
  X(note_box, "box命令は未実装です") \
  X(note_boxf, "boxf命令は未実装です") \
  X(note_circle, "circle命令は未実装です") \
  X(note_circlef, "circlef命令は未実装です") \
  X(note_image, "image命令は未実装です") \
  X(note_start, "start命令は未実装です") \
  X(note_exec, "exec命令は未実装です") \
  X(note_regist, "regist命令は未実装です")

enum class Message {
#define VORN_MESSAGE_ID(id, text) id,
  VORN_MESSAGES(VORN_MESSAGE_ID)
#undef VORN_MESSAGE_ID
};

// The message in Shift-JIS.
std::string_view message_text(Message m);

}  // namespace base
