#!/bin/sh
# The demo definition's "Run demo tool" button starts this program: it shows that a program
# named by a definition starts from the program directory, without a shell in between, with its
# own path and two empty arguments.
message="Korvath demo tool: started as $0 with $# arguments."
if command -v xmessage >/dev/null 2>&1 && [ -n "$DISPLAY" ]; then
    exec xmessage -center "$message"
fi
echo "$message"
