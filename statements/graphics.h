// graphics.h — drawing statements on the screen picture.
#pragma once

namespace statements {

int pset_statement();
int cls_statement();
int line_statement();
int locate_statement();
int box_statement();
int boxf_statement();
int circle_statement();
int circlef_statement();
int image_statement();

}  // namespace statements
