x=5
if 0 then y=1
