// messages.h — the catalogue of the interpreter's messages.
// The texts are written here in UTF-8 and handed out in Shift-JIS, the
// system's code page, exactly as the console and files show them. Each has an
// English gloss beside it, shown instead when the user asks for English.
#pragma once
#include <string_view>

namespace base {

#define VORN_MESSAGES(X)                                                              \
  X(syntax, "文法エラーです", "Syntax error") \
  X(type_mismatch, "型が不正です", "Type mismatch") \
  X(out_of_range, "コマンド、関数または配列のパラメータが定義域から外れています", "A parameter of a command, function or array is out of range") \
  X(not_direct, "ダイレクト実行できません", "Cannot be executed directly") \
  X(cannot_execute, "実行できません", "Cannot execute") \
  X(break_, "Break", "Break") \
  X(bad_hex, "16進数表記が間違っています", "Bad hexadecimal number") \
  X(bad_octal, "8進数表記が間違っています", "Bad octal number") \
  X(bad_real, "実数表記が間違っています", "Bad real number") \
  X(save_failed, "セーブ失敗しました", "Saving failed") \
  X(load_failed, "ロード失敗しました", "Loading failed") \
  X(system_error, "システムエラーが発生しました、速やかにリセットして下さい", "A system error occurred; please reset at once") \
  X(bad_expression, "数式が不正です", "Bad expression") \
  X(variable_not_found, "変数が見つかりません", "Variable not found") \
  X(array_overflow, "配列のサイズをオーバーしました", "Array size exceeded") \
  X(too_many_dimensions, "配列の次元が大きすぎます", "Too many array dimensions") \
  X(array_exists, "その配列は既に存在しています", "That array already exists") \
  X(string_too_long, "文字列が長すぎます", "String too long") \
  X(division_by_zero, "ゼロで割ることはできません", "Division by zero") \
  X(label_not_found, "ラベルが見つかりません", "Label not found") \
  X(for_overflow, "for-nextのネストオーバーです", "for-next nested too deeply") \
  X(next_without_for, "for文なしでnext文は実行できません", "next without for") \
  X(gosub_overflow, "gosub用スタックがオーバーフローしました", "gosub stack overflow") \
  X(return_without_gosub, "gosub文無しにreturn文を実行することはできません", "return without gosub") \
  X(file_not_open, "ファイルが開いていません", "File not open") \
  X(log_zero, "log関数の引数がゼロです", "Argument of log is zero") \
  X(file_already_open, "ファイルはすでに開かれています", "File already open") \
  X(cannot_open_write, "ファイルを開くことができません(write)", "Cannot open the file (write)") \
  X(cannot_open_read, "ファイルを開くことができません(read)", "Cannot open the file (read)") \
  X(bad_port, "ポート番号が不正です", "Bad port number") \
  X(no_socket, "ソケットを作成できません", "Cannot create a socket") \
  X(host_not_found, "ホストが見つかりません", "Host not found") \
  X(resolve_failed, "ホスト名解決に失敗しました", "Host name resolution failed") \
  X(connect_failed, "接続できません(connect)", "Cannot connect (connect)") \
  X(bind_failed, "接続できません(bind)", "Cannot connect (bind)") \
  X(listen_failed, "接続できません(listen)", "Cannot connect (listen)") \
  X(accept_failed, "接続できません(accept)", "Cannot connect (accept)") \
  X(image_unreadable, "イメージファイルが読みこめません", "Cannot read the image file") \
  X(compiler_output, "コンパイラの出力ファイルを開くことができません", "Cannot open the compiler output file") \
  X(not_in_program, "プログラム中では実行できません", "Cannot be executed in a program") \
  /* what the translator says of what its target lacks */                             \
  X(note_sign_on_string, "文字列に符号をつけることはできません", "A string cannot take a sign") \
  X(note_power, "べき乗演算は実装されていません", "Powers are not implemented") \
  X(note_sqr, "sqr関数は実装されていません", "sqr is not implemented") \
  X(note_exp, "exp関数は実装されていません", "exp is not implemented") \
  X(note_log, "log関数は実装されていません", "log is not implemented") \
  X(note_sin, "sin関数は実装されていません", "sin is not implemented") \
  X(note_cos, "cos関数は実装されていません", "cos is not implemented") \
  X(note_tan, "tan関数は実装されていません", "tan is not implemented") \
  X(note_atn, "atn関数は実装されていません", "atn is not implemented") \
  X(note_time, "time$関数は実装されていません", "time$ is not implemented") \
  X(note_date, "data$関数は実装されていません", "date$ is not implemented") \
  X(note_rnd, "rnd関数は実装されていません", "rnd is not implemented") \
  X(note_netstat, "netstat関数は実装されていません", "netstat is not implemented") \
  X(note_stop_ignored, "STOP文は無視されます", "STOP is ignored") \
  X(note_next_needs_variable, "コンパイルするときはnext命令の後に変数をつけて下さい", "When compiling, put the variable after next") \
  X(note_pset, "pset命令は未実装です", "pset is not implemented") \
  X(note_line, "line命令は未実装です", "line is not implemented") \
  X(note_box, "box命令は未実装です", "box is not implemented") \
  X(note_boxf, "boxf命令は未実装です", "boxf is not implemented") \
  X(note_circle, "circle命令は未実装です", "circle is not implemented") \
  X(note_circlef, "circlef命令は未実装です", "circlef is not implemented") \
  X(note_image, "image命令は未実装です", "image is not implemented") \
  X(note_start, "start命令は未実装です", "start is not implemented") \
  X(note_exec, "exec命令は未実装です", "exec is not implemented") \
  X(note_regist, "regist命令は未実装です", "regist is not implemented")

enum class Message {
#define VORN_MESSAGE_ID(id, text, english) id,
  VORN_MESSAGES(VORN_MESSAGE_ID)
#undef VORN_MESSAGE_ID
};

// The message in Shift-JIS, as the device has it (also what the translator
// writes into its output).
std::string_view message_text(Message m);

// The message as the user reads it: message_text, or its English gloss after
// use_english_messages(true) (--messages en).
std::string_view shown_text(Message m);
void use_english_messages(bool english);

}  // namespace base
