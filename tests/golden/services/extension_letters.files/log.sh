# Appends one line per run: the number of arguments, then each in brackets.
# The device root is shown as ROOT; long arguments by their length.
line="$#:"
for a in "$@"; do
  case $a in "$PWD"/root*) a="ROOT${a#"$PWD"/root}";; esac
  if [ ${#a} -gt 40 ]; then a="${#a} chars"; fi
  line="$line[$a]"
done
echo "$line" >> log.txt
