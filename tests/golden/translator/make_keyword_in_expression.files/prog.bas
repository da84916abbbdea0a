y = 2
x = 1 make
