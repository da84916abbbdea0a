n=3
gosub @show
end
@show
print n
return
