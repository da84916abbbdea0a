end
@add
s = s + i * 10
return
