' every byte from 1 to 32 is a blank between tokens, byte 1 too
a=2:printa*3
