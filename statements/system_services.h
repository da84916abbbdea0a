// system_services.h — start, exec, wait and regist.
#pragma once

namespace statements {

int start_statement();
int exec_statement();
int wait_statement();
int regist_statement();

}  // namespace statements
