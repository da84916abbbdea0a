input a make
