c=1
if c then @done
if c then x=1 else @other
@done
@other
