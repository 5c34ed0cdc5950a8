"""Read the rebus: each comma after a picture drops one letter from the end of its word."""
PARTS = [("дом", 1), ("рога", 0)]  # (word, commas after it); «рога» is written as letters
print("".join(word[:len(word) - commas] for word, commas in PARTS))
