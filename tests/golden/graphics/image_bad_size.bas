' a width whose top byte is set is negative: the bitmap is refused
image (10, 10), "pic.bmp"
