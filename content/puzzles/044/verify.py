#!/usr/bin/python3
"""A tower of three dice with 5 on top: the five hidden faces."""
top = 5
hidden = 7 - top                   # the bottom face of the top die
hidden += 7 + 7                    # top and bottom of the middle and the lowest die
print(hidden)
