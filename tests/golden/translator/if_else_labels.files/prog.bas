c=1
if c then if c then @a else @b
if c then c=2 else @m
