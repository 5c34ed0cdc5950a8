"""Ferry: cars waiting, a few per trip, the same time each way; the ferry ends on the far bank."""
CARS, PER_TRIP, MINUTES_ONE_WAY = 8, 3, 15

left, crossings = CARS, 0
while True:
    left -= min(PER_TRIP, left)
    crossings += 1          # over, loaded
    if not left:
        break
    crossings += 1          # back, empty
print(crossings * MINUTES_ONE_WAY)
