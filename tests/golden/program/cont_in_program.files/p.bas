' cont inside the program resumes it again, many times over
stop
n = n + 1 : if n < 200000 then cont
print n
